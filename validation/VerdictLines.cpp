#include "validation/VerdictLines.h"

#include "base/LineField.h"
#include "base/Recordset.h"
#include "base/ValueText.h"

namespace {
// Lines written between two signs to the taking thread.
constexpr int kLinesASign = 256;
}  // namespace

VerdictLines::VerdictLines(const Recordset& records, QVector<int> fields)
    : records_(records),
      fields_(std::move(fields)),
      lines_(records.RecordCount()),
      writer_([this](std::stop_token stop) { Write(stop); }) {}

VerdictLines::~VerdictLines() = default;

void VerdictLines::Write(const std::stop_token& stop) {
    const int count = int(lines_.size());
    for (int position = 1; position <= count && !stop.stop_requested(); ++position) {
        QString line;
        for (int i = 0; i < fields_.size(); ++i) {
            if (i > 0) line += u'\t';
            line += LineField(ValueText(records_.ValueAt(position, fields_[i])));
        }
        lines_[position - 1] = line.toUtf8() + "\r\n";
        if (position % kLinesASign == 0 || position == count) {
            {
                const std::lock_guard lock(mutex_);
                done_ = position;
            }
            written_.notify_one();
        }
    }
}

QByteArray VerdictLines::Take(int position) {
    if (position > known_) {
        std::unique_lock lock(mutex_);
        written_.wait(lock, [&] { return done_ >= position; });
        known_ = done_;
    }
    return std::move(lines_[position - 1]);
}
