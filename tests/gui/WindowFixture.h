#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

#include "QStringPrinter.h"
#include "form/Minsert.h"
#include "form/RecordingOperator.h"
#include "gui/MainWindow.h"

// The real window over a form that has started up in an empty program
// folder, shown and active on the offscreen screen. A pass reports every
// record.
class WindowFixture : public testing::Test {
protected:
    void SetUp() override {
        form.ProgressIntervalMs = 0;
        form.Form_Load();
        window.Sync();
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    template <class T = QWidget>
    T* Find(const QString& name) const {
        return window.findChild<T*>(name);
    }

    QTemporaryDir dir;
    RecordingOperator op;
    Minsert form{op, dir.path()};
    MainWindow window{form};
};
