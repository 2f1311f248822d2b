#pragma once

// A fresh session as the global Session for each test, freed at the end, and
// a scripted dialog service that records every message box.

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/ozr_types.h"
#include "platform/scripted_dialogs.h"

class SessionTest : public ::testing::Test {
protected:
    SessionTest() : session_(std::make_unique<TSession>()) { Session = session_.get(); }
    ~SessionTest() override { session_.reset(); }

    TSession& session() { return *session_; }

    // The codes of the regions of a list, in list order.
    static std::vector<std::string> Codes(const TListOZR& list)
    {
        std::vector<std::string> codes;
        for (const TObject* item : list)
            codes.push_back(static_cast<const TRegion*>(item)->GetCode());
        return codes;
    }

    TScriptedDialogs dialogs_;
    ScopedDialogs scopedDialogs_{dialogs_};
    std::unique_ptr<TSession> session_;
};
