#pragma once

// The help window: the table of contents of the help file beside the topic,
// with links, pictures and style sheets read from inside the file.

#include <memory>
#include <string>

#include <QPointer>
#include <QString>
#include <QWidget>

#include "app/help_viewer/help_service.h"

class QTreeWidget;
class QTreeWidgetItem;
class QUrl;
class THelpBrowser;
class THelpFile;
struct THelpContentsEntry;

class THelpWindow final : public QWidget {
    Q_OBJECT
public:
    explicit THelpWindow(const QString& helpFilePath, QWidget* parent = nullptr);
    ~THelpWindow() override;

    // Shows the window on the topic of this context number; when the file
    // cannot be read, the window says why, naming the file.
    void ShowContext(int context);

private:
    bool OpenFile();
    void ShowMessage(const QString& text);
    void FillContents();
    void AddContents(const QList<THelpContentsEntry>& entries, QTreeWidgetItem* parent);
    void OpenContentsItem(QTreeWidgetItem* item);
    void MarkContentsItemOf(const QUrl& source);

    QString path_;
    std::unique_ptr<THelpFile> file_;
    QTreeWidget* contents_;
    THelpBrowser* browser_;
};

// The program's help viewer. The window opens over the modal form that asked
// for help, so that it takes input while that form waits.
class THelpWindowViewer final : public THelpViewer {
public:
    // Opens the program's help file (HelpFile()) on first use.
    THelpWindowViewer() = default;
    ~THelpWindowViewer() override;
    THelpWindowViewer(const THelpWindowViewer&) = delete;
    THelpWindowViewer& operator=(const THelpWindowViewer&) = delete;

    void ShowTopic(int context) override;
    THelpWindow* Window() const { return window_; }

private:
    QPointer<THelpWindow> window_;
};
