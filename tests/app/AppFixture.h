#pragma once
// A main window started against the stand-in client library, with its boxes
// and its login dialog answered by the test and its settings in a fresh store.
#include "app/RegSettings.h"
#include "app/TfmMain.h"
#include "oracle/FakeOci.h"
#include "oracle/LoginScript.h"
#include "oracle/TOCIctrl.h"
#include "platform/UserStore.h"
#include "support/ScriptedMessageBoxes.h"

#include <QFile>
#include <gtest/gtest.h>
#include <memory>

// The store the main window keeps its settings in.
inline platform::UserStore settingsStore()
{
    return platform::UserStore(QString::fromLatin1(kSettingsKey));
}

class AppFixture : public testing::Test {
protected:
    using MsgIcon = platform::MsgIcon;
    using MsgButtons = platform::MsgButtons;
    using MsgResult = platform::MsgResult;

    void SetUp() override
    {
        fakeoci::reset();
        TOCIctrl::setDefaultLibraryNames({fakeoci::fullLibrary()});
        QFile::remove(settingsStore().filePath());
    }
    void TearDown() override { TOCIctrl::resetDefaultLibraryNames(); }

    std::unique_ptr<TfmMain> start() { return std::make_unique<TfmMain>(); }

    LoginScript login; // cancels the dialog unless told otherwise
    ScriptedMessageBoxes boxes;
};
