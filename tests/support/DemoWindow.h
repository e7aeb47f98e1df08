#pragma once
// The main window started by a newcomer: logged on as DEMO to the demo schema
// of the embedded engine (support/DemoSchema.h), with its settings in a fresh
// store, its boxes answered by the test, and the program's globals pointing
// at it. Tests that need more tables create them in the schema once.
//
// Needs the test folder on the include path (for oracle/LoginScript.h) and
// links karvello_app.
#include "app/Globals.h"
#include "app/RegSettings.h"
#include "app/TfmMain.h"
#include "oracle/LoginScript.h"
#include "oracle/TOCIctrl.h"
#include "platform/UserStore.h"
#include "support/DemoSchema.h"
#include "support/ScriptedMessageBoxes.h"

#include <QFile>
#include <gtest/gtest.h>
#include <memory>

class DemoWindow : public testing::Test {
protected:
    using MsgIcon = platform::MsgIcon;
    using MsgButtons = platform::MsgButtons;
    using MsgResult = platform::MsgResult;

    void SetUp() override
    {
        ASSERT_EQ(testenv::demoSchema(), 0) << "karvello-db demo";
        TOCIctrl::resetDefaultLibraryNames();
        QFile::remove(platform::UserStore(QString::fromLatin1(kSettingsKey)).filePath());
        login.accept(QStringLiteral("demo"), QStringLiteral("demo"));
        window = std::make_unique<TfmMain>();
        ASSERT_TRUE(window->OCI->connected()) << window->OCI->LastError.toStdString();
        fmMain = window.get();
    }

    void TearDown() override
    {
        fmMain = nullptr;
        ObjKind = QStringLiteral("TABLE");
    }

    LoginScript login;
    ScriptedMessageBoxes boxes;
    std::unique_ptr<TfmMain> window;
};
