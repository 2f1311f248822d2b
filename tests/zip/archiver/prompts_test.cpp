#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "platform/scripted_dialogs.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"
#include "tests/zip/volumes_test_support.h"

namespace {

using wqtest::TempFolder;
using zatest::TestArchiver;

// The boxes and answers of one test: every question must be scripted.
class PromptsTest : public ::testing::Test {
protected:
    const TScriptedDialogs::Shown& OnlyBox() const
    {
        EXPECT_EQ(dialogs_.Messages().size(), 1u);
        return dialogs_.Messages().back();
    }

    TScriptedDialogs dialogs_;
    ScopedDialogs scoped_{dialogs_};
    TestArchiver zip_;
};

TEST_F(PromptsTest, OverwriteAnswersSetTheModeForLaterFiles)
{
    const struct {
        TModalResult Answer;
        bool Confirm;
        TZAOverwriteMode Mode;
    } cases[] = {
        {mrYes, true, omPrompt},      {mrNo, false, omPrompt},     {mrNoToAll, false, omNever},
        {mrYesToAll, true, omAlways}, {mrCancel, false, omPrompt},
    };
    for (const auto& c : cases) {
        dialogs_.Clear();
        zip_.Options().OverwriteMode = omPrompt;
        dialogs_.Answer(c.Answer);
        std::string dest = "docs/a.txt";
        bool confirm = !c.Confirm;
        zip_.DoConfirmOverwrite("/src/docs/a.txt", dest, confirm);
        EXPECT_EQ(confirm, c.Confirm);
        EXPECT_EQ(zip_.Options().OverwriteMode, c.Mode);
        EXPECT_EQ(OnlyBox().Text, "Overwrite file \"docs/a.txt\" with \"/src/docs/a.txt\"");
        EXPECT_EQ(OnlyBox().Buttons, mbYes | mbNo | mbNoToAll | mbYesToAll);
        EXPECT_EQ(OnlyBox().Type, TMsgDlgType::mtConfirmation);
    }
}

TEST_F(PromptsTest, FailuresOfferAbortRetryIgnoreExceptForLongNamesAndCancels)
{
    TZAAction action = fxaRetry;
    zip_.DoProcessFileFailure("a.txt", poAdd, 45, 0, "cancelled", action);
    EXPECT_EQ(action, fxaAbort);
    EXPECT_TRUE(dialogs_.Messages().empty());

    dialogs_.Answer(mrIgnore);
    zip_.DoProcessFileFailure("a.txt", poAdd, 61, 0, "Name too long", action);
    EXPECT_EQ(action, fxaIgnore);
    EXPECT_EQ(OnlyBox().Text, "Name too long");
    EXPECT_EQ(OnlyBox().Buttons, mbAbort | mbIgnore);

    for (const auto& [answer, expected] : {std::pair{mrRetry, fxaRetry},
                                           {mrIgnore, fxaIgnore},
                                           {mrAbort, fxaAbort},
                                           {mrCancel, fxaAbort}}) {
        dialogs_.Clear();
        dialogs_.Answer(answer);
        zip_.DoProcessFileFailure("a.txt", poAdd, 33, 12, "Cannot open a.txt", action);
        EXPECT_EQ(action, expected);
        EXPECT_EQ(OnlyBox().Text,
                  "Cannot open a.txt. File processing error, possibly disk is full");
        EXPECT_EQ(OnlyBox().Buttons, mbAbort | mbRetry | mbIgnore);
    }
}

// Records what the password box was asked to show.
class PasswordDialogs final : public TDialogs {
public:
    std::optional<std::string> Answer;
    std::string Caption, Prompt;
    bool Masked = false;

    TModalResult MessageDlg(const std::string&, TMsgDlgType, TMsgDlgButtons) override
    {
        return mrNone;
    }
    std::optional<std::string> ChooseFileToOpen(const TFileDialogRequest&) override { return {}; }
    std::optional<std::string> ChooseFileToSave(const TFileDialogRequest&) override { return {}; }
    std::optional<std::string> InputText(const std::string& caption, const std::string& prompt,
                                         const std::string& initial, bool masked) override
    {
        EXPECT_TRUE(initial.empty());
        Caption = caption;
        Prompt = prompt;
        Masked = masked;
        return Answer;
    }
};

TEST(PasswordPromptTest, TheMaskedBoxGivesTheAnsiPasswordOrSkipsTheFile)
{
    PasswordDialogs dialogs;
    ScopedDialogs scoped(dialogs);
    TestArchiver zip;
    dialogs.Answer = "caf\xC3\xA9" + std::string(300, 'x');
    std::string password = "old";
    bool skip = true;
    zip.DoPassword("data.wqd", password, skip);
    EXPECT_FALSE(skip);
    EXPECT_EQ(password, "caf\xE9" + std::string(251, 'x'));
    EXPECT_EQ(dialogs.Caption, "Password for \"data.wqd\"");
    EXPECT_EQ(dialogs.Prompt, "Enter password: ");
    EXPECT_TRUE(dialogs.Masked);

    dialogs.Answer.reset();
    password = "old";
    zip.DoPassword("data.wqd", password, skip);
    EXPECT_TRUE(skip);
    EXPECT_EQ(password, "old");
}

TEST_F(PromptsTest, SpannedDisksAreAskedForAndSplitVolumesAreNot)
{
    TempFolder folder;
    zip_.SetFileName(folder / "data.zip");
    zip_.SetSpanningMode(smSplitting);
    std::string name = folder / "data.zip";
    bool cancel = true;
    zip_.DoRequestBlankVolume(-3, name, cancel);
    EXPECT_FALSE(cancel);
    EXPECT_EQ(name, folder / "data.z01");
    EXPECT_TRUE(dialogs_.Messages().empty());

    zip_.SetSpanningMode(smSpanning);
    dialogs_.Answer(mrOk);
    zip_.DoRequestBlankVolume(1, name, cancel);
    EXPECT_FALSE(cancel);
    EXPECT_EQ(OnlyBox().Text, "Please insert a blank disk #2");

    for (const auto& [ask, text] :
         {std::pair<std::function<void(bool&)>, std::string>{
              [&](bool& c) { zip_.DoRequestFirstVolume(name, c); }, "Please insert the first disk"},
          {[&](bool& c) { zip_.DoRequestMiddleVolume(4, name, c); }, "Please insert disk #5"}}) {
        dialogs_.Clear();
        dialogs_.Answer(mrCancel);
        name = folder / "data.zip";
        ask(cancel);
        EXPECT_TRUE(cancel);
        EXPECT_EQ(OnlyBox().Text, text);
        EXPECT_EQ(OnlyBox().Buttons, mbOKCancel);
    }
}

TEST_F(PromptsTest, TheLastDiskIsAskedForUntilItHoldsTheFile)
{
    TempFolder folder;
    zip_.SetFileName(folder / "data.zip");
    zip_.SetSpanningMode(smSpanning);
    dialogs_.Answer(mrOk);
    dialogs_.Answer(mrOk);
    dialogs_.Answer(mrCancel);
    std::string name = folder / "data.zip";
    bool cancel = false;
    zip_.DoRequestLastVolume(name, cancel);
    EXPECT_TRUE(cancel);
    ASSERT_EQ(dialogs_.Messages().size(), 3u);
    EXPECT_EQ(dialogs_.Messages()[0].Text, "Please insert the last disk");
    const std::string missing = "File '" + folder / "data.zip" +
                                "' not found on inserted disk. Please insert last disk with "
                                "required file";
    EXPECT_EQ(dialogs_.Messages()[1].Text, missing);
    EXPECT_EQ(dialogs_.Messages()[2].Text, missing);

    dialogs_.Clear();
    wqtest::WriteTextFile(folder / "data.zip", "x");
    dialogs_.Answer(mrOk);
    zip_.DoRequestLastVolume(name, cancel);
    EXPECT_FALSE(cancel);
    EXPECT_EQ(dialogs_.Messages().size(), 1u);
}

TEST_F(PromptsTest, ReadingSplitVolumesNeedsNoBoxOnlyTheFiles)
{
    TempFolder folder;
    zip_.SetFileName(folder / "data.zip");
    zip_.SetSpanningMode(smSplitting);
    wqtest::WriteTextFile(folder / "data_002.zip", "x");
    std::string name = folder / "data.zip";
    bool cancel = true;
    zip_.DoRequestMiddleVolume(1, name, cancel);
    EXPECT_FALSE(cancel);
    EXPECT_EQ(name, folder / "data_002.zip");
    name = folder / "data.zip";
    zip_.DoRequestLastVolume(name, cancel);
    EXPECT_TRUE(cancel);
    // Creating, a missing first volume is no reason to stop.
    zip_.OpenArchive(ZAModeCreate);
    name = folder / "data.zip";
    zip_.DoRequestFirstVolume(name, cancel);
    EXPECT_FALSE(cancel);
    EXPECT_EQ(name, folder / "data.z01");
    EXPECT_TRUE(dialogs_.Messages().empty());
}

TEST_F(PromptsTest, AFullDiskShowsTheVolumeSizeAndTheFreeSpace)
{
    TempFolder folder;
    zatest::DiskDrives drives;
    drives.Capacity = 5000000;
    ScopedDriveLayer layer(drives);
    zip_.SetSpanningMode(smSpanning);
    zip_.SpanningOptions().VolumeSize = vs1_44MB;
    zip_.SpanningOptions().FirstVolumeSize = 3000000;
    dialogs_.Answer(mrOk);
    bool cancel = true;
    zip_.DoDiskFull(1, folder / "data.zip", cancel);
    EXPECT_FALSE(cancel);
    EXPECT_EQ(OnlyBox().Text,
              "Disk is full. Required free space: 1457664 bytes, but available only: 5000000 "
              "bytes. Clean the disk or find another blank disk");
    dialogs_.Clear();
    dialogs_.Answer(mrCancel);
    zip_.DoDiskFull(0, folder / "data.zip", cancel);
    EXPECT_TRUE(cancel);
    EXPECT_NE(OnlyBox().Text.find("Required free space: 3000000 bytes"), std::string::npos);

    dialogs_.Clear();
    zip_.SetSpanningMode(smNone);
    cancel = false;
    zip_.DoDiskFull(-1, "data.zip", cancel);
    EXPECT_TRUE(cancel);
    EXPECT_TRUE(dialogs_.Messages().empty());
}

}  // namespace
