#include "platform/dialogs.h"

#include <tuple>

#include <gtest/gtest.h>

#include "platform/exception.h"
#include "platform/scripted_dialogs.h"

namespace {

TEST(ScriptedDialogs, RecordsMessagesAndAnswersFromTheQueue)
{
    TScriptedDialogs script;
    ScopedDialogs installed(script);
    script.Answer(mrNo);
    script.Answer(mrYesToAll);

    ShowMessage("saved", TMsgDlgType::mtInformation);
    EXPECT_EQ(Dialogs().MessageDlg("Save changes?", TMsgDlgType::mtConfirmation, mbYesNoCancel),
              mrNo);
    EXPECT_EQ(Dialogs().MessageDlg("Overwrite?", TMsgDlgType::mtConfirmation, mbYesNoAll),
              mrYesToAll);

    ASSERT_EQ(script.Messages().size(), 3u);
    EXPECT_EQ(script.Messages()[0].Text, "saved");
    EXPECT_EQ(script.Messages()[0].Buttons, TMsgDlgButtons{mbOK});
    EXPECT_EQ(script.Messages()[1].Type, TMsgDlgType::mtConfirmation);
    EXPECT_EQ(script.Texts(), (std::vector<std::string>{"saved", "Save changes?", "Overwrite?"}));
    EXPECT_TRUE(script.AllAnswersUsed());
}

TEST(ScriptedDialogs, AnUnscriptedQuestionFails)
{
    TScriptedDialogs script;
    ScopedDialogs installed(script);
    EXPECT_THROW(Dialogs().MessageDlg("Retry?", TMsgDlgType::mtConfirmation, mbAbortRetryIgnore),
                 Exception);
    EXPECT_THROW(Dialogs().OpenFile({}), Exception);
    EXPECT_THROW(Dialogs().InputText("Password", "Enter password", "", true), Exception);
}

TEST(ScriptedDialogs, FileDialogsAndPrompts)
{
    TScriptedDialogs script;
    ScopedDialogs installed(script);
    script.AnswerFile(std::string("/tmp/GR_2008_3_7.wqd"));
    script.AnswerFile(std::nullopt);
    script.AnswerText(std::string("secret"));

    TFileDialogRequest request;
    request.Title = "Save As";
    request.Filter = "Water Quantity Data file (*.wqd)|*.wqd";
    request.DefaultExt = "wqd";
    request.OverwritePrompt = true;
    EXPECT_EQ(Dialogs().SaveFile(request), "/tmp/GR_2008_3_7.wqd");
    EXPECT_EQ(Dialogs().OpenFile(request), std::nullopt);
    EXPECT_EQ(Dialogs().InputText("Password", "Enter password", "", true), "secret");
    ASSERT_EQ(script.FileRequests().size(), 2u);
    EXPECT_EQ(script.FileRequests()[0].Filter, request.Filter);
    EXPECT_TRUE(script.FileRequests()[0].OverwritePrompt);
}

// Open, Save As, the imports' file boxes and the grids' export all ask
// through these two calls, so a folder chosen in one is where the next starts.
TEST(Dialogs, FileDialogsStartInTheFolderLastChosen)
{
    TScriptedDialogs script;
    // Whether the box opens a file, the name and the folder it is given, and
    // the user's answer.
    const std::tuple<bool, std::string, std::string, std::optional<std::string>> steps[] = {
        {true, "", "", std::nullopt},
        {true, "", "", "/home/maria/data/greece.wqd"},
        {false, "GR_2009_3_7.wqd", "", std::nullopt},
        {true, "", "/srv/given", "/home/maria/csv/flows.csv"},
        {false, "", "", std::nullopt},
        {false, "/srv/elsewhere/GR.wqd", "", std::nullopt}};
    std::vector<std::string> startedIn;
    for (const auto& [open, fileName, initialDir, answer] : steps) {
        TFileDialogRequest request;
        request.FileName = fileName;
        request.InitialDir = initialDir;
        script.AnswerFile(answer);
        open ? script.OpenFile(request) : script.SaveFile(request);
        startedIn.push_back(script.FileRequests().back().InitialDir);
    }
    EXPECT_EQ(startedIn, (std::vector<std::string>{"", "", "/home/maria/data", "/srv/given",
                                                   "/home/maria/csv", ""}));
    EXPECT_EQ(script.FileRequests()[2].FileName, "GR_2009_3_7.wqd");
}

TEST(ScriptedDialogs, ScopesNestAndRestore)
{
    TScriptedDialogs outer, inner;
    ScopedDialogs outerScope(outer);
    {
        ScopedDialogs innerScope(inner);
        ShowMessage("inner");
    }
    ShowMessage("outer");
    EXPECT_EQ(inner.Texts(), std::vector<std::string>{"inner"});
    EXPECT_EQ(outer.Texts(), std::vector<std::string>{"outer"});
}

TEST(Dialogs, WithoutAServiceQuestionsGetTheCautiousAnswer)
{
    EXPECT_EQ(Dialogs().MessageDlg("q", TMsgDlgType::mtConfirmation, mbYesNoCancel), mrCancel);
    EXPECT_EQ(Dialogs().MessageDlg("q", TMsgDlgType::mtConfirmation, mbAbortIgnore), mrAbort);
    EXPECT_EQ(Dialogs().MessageDlg("i", TMsgDlgType::mtInformation, mbOK), mrOk);
    EXPECT_EQ(Dialogs().SaveFile({}), std::nullopt);
}

}  // namespace
