#pragma once

#include <QByteArray>
#include <QVector>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

class Recordset;

// The verdict files' lines of a pass's records, written out on a second
// thread ahead of the pass: a record's own sheet columns as text, escaped
// as LineField escapes them so that a record stays one line, tab between,
// in UTF-8 with the line's end. The records must not change while
// it lives; the pass may move through them meanwhile.
class VerdictLines {
public:
    // fields: the record's own sheet columns.
    VerdictLines(const Recordset& records, QVector<int> fields);
    ~VerdictLines();
    VerdictLines(const VerdictLines&) = delete;
    VerdictLines& operator=(const VerdictLines&) = delete;

    // The line of the record at that position (from 1), once written; each
    // is taken once.
    QByteArray Take(int position);

private:
    void Write(const std::stop_token& stop);

    const Recordset& records_;
    const QVector<int> fields_;
    std::vector<QByteArray> lines_;
    std::mutex mutex_;
    std::condition_variable written_;
    int done_ = 0;         // lines written, under mutex_
    int known_ = 0;        // lines known to be written, by the taking thread
    std::jthread writer_;  // last: it starts once the rest is ready, and stops first
};
