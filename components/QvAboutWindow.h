#pragma once

// The window of the about box, built from a TQvAboutInfo.

#include <vector>

#include <QDialog>
#include <QString>
#include <QTimer>

class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class TMyLabel;
class TQvAboutInfo;

class TQvAboutWindow : public QDialog {
    Q_OBJECT
public:
    TQvAboutWindow(const TQvAboutInfo& info, QWidget* parent);

    bool CreditsShown() const;
    bool TitleAnimating() const { return titleTimer_.isActive(); }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void AddPictures(const TQvAboutInfo& info);
    void AddTitle(const QString& title, int left);
    void LayOutTitle(const QString& title, int left);
    int AddTextBlock(const TQvAboutInfo& info, int top);
    int AddPartner(const TQvAboutInfo& info, int number, int top);
    void AddButtons(const TQvAboutInfo& info);
    void OkClick();
    void ShowCredits();
    void HideCredits();
    void StepCredits();
    void ToggleTitleAnimation();
    void StepTitle();

    std::vector<TMyLabel*> letters_;
    QPushButton* okButton_ = nullptr;
    QScrollArea* creditsBox_ = nullptr;
    QPlainTextEdit* memoCredits_ = nullptr;
    QTimer creditsTimer_;
    QTimer titleTimer_;
    int creditsStep_ = 0;
    QString typed_;
    QString easternEgg_;
};
