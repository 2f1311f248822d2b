#include "app/help_viewer/help_window.h"

#include <QAction>
#include <QApplication>
#include <QShortcut>
#include <QSplitter>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QUrl>
#include <QVBoxLayout>

#include "app/form_support.h"
#include "app/help_viewer/help_file.h"
#include "components/command_guard.h"
#include "platform/exception.h"

namespace {

// Topics are addressed as chm:/topics/a.htm, so that relative links and
// pictures resolve inside the file.
const QString kScheme = QStringLiteral("chm");
constexpr int kTopicRole = Qt::UserRole;

QUrl TopicUrl(const QString& topic)
{
    const qsizetype hash = topic.indexOf(u'#');
    const QString path = hash < 0 ? topic : topic.left(hash);
    QUrl url;
    url.setScheme(kScheme);
    url.setPath(path.startsWith(u'/') ? path : u'/' + path);
    if (hash >= 0)
        url.setFragment(topic.mid(hash + 1));
    return url;
}

QString MessageHtml(const QString& heading, const QString& text)
{
    return QStringLiteral("<h2>%1</h2><p>%2</p>")
        .arg(heading.toHtmlEscaped(), text.toHtmlEscaped());
}

QString MissingTopicHtml(const QString& path)
{
    return MessageHtml(QStringLiteral("Topic not found"),
                       QStringLiteral("The help file holds no topic \"%1\".").arg(path));
}

}  // namespace

// A text browser that reads topics, pictures and style sheets from the help file.
class THelpBrowser final : public QTextBrowser {
public:
    explicit THelpBrowser(QWidget* parent) : QTextBrowser(parent) {}
    void SetFile(const THelpFile* file) { file_ = file; }

    QVariant loadResource(int type, const QUrl& name) override
    {
        const QUrl url = source().resolved(name);
        if (file_ == nullptr || url.scheme() != kScheme)
            return QTextBrowser::loadResource(type, name);
        const std::optional<QByteArray> bytes = file_->Read(url.path());
        if (!bytes)
            return type == QTextDocument::HtmlResource ? QVariant(MissingTopicHtml(url.path()))
                                                       : QVariant();
        if (type == QTextDocument::HtmlResource || type == QTextDocument::StyleSheetResource)
            return QString::fromUtf8(*bytes);
        return *bytes;
    }

private:
    const THelpFile* file_ = nullptr;
};

THelpWindow::THelpWindow(const QString& helpFilePath, QWidget* parent)
    : QWidget(parent, Qt::Window),
      path_(helpFilePath),
      contents_(new QTreeWidget),
      browser_(new THelpBrowser(nullptr))
{
    setObjectName(QStringLiteral("FormHelp"));
    setWindowTitle(QStringLiteral("Help"));
    SetFormFont(*this);
    resize(940, 680);

    auto* toolBar = new QToolBar;
    QAction* back =
        toolBar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Back"));
    QAction* forward = toolBar->addAction(style()->standardIcon(QStyle::SP_ArrowForward),
                                          QStringLiteral("Forward"));
    back->setEnabled(false);
    forward->setEnabled(false);

    contents_->setObjectName(QStringLiteral("treeContents"));
    contents_->setHeaderHidden(true);
    browser_->setObjectName(QStringLiteral("browserTopic"));
    auto* splitter = new QSplitter;
    splitter->addWidget(contents_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({230, 710});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolBar);
    layout->addWidget(splitter);

    ConnectCommand(back, &QAction::triggered, browser_, &QTextBrowser::backward);
    ConnectCommand(forward, &QAction::triggered, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, &THelpWindow::MarkContentsItemOf);
    const auto openItem = [this](QTreeWidgetItem* item, int) { OpenContentsItem(item); };
    ConnectCommand(contents_, &QTreeWidget::itemClicked, this, openItem);
    ConnectCommand(contents_, &QTreeWidget::itemActivated, this, openItem);
    auto* escape = new QShortcut(QKeySequence::Cancel, this);
    ConnectCommand(escape, &QShortcut::activated, this, &QWidget::close);
}

THelpWindow::~THelpWindow() = default;

void THelpWindow::ShowContext(int context)
{
    if (OpenFile()) {
        const QString topic = file_->TopicOfContext(context);
        if (topic.isEmpty())
            ShowMessage(QStringLiteral("The help file \"%1\" has no topic for the help context %2.")
                            .arg(path_)
                            .arg(context));
        else
            browser_->setSource(TopicUrl(topic));
    }
    show();
    raise();
    activateWindow();
}

// Opens the file at the first use, and again after a failure, so that a file
// put in place later is found.
bool THelpWindow::OpenFile()
{
    if (file_)
        return true;
    try {
        file_ = std::make_unique<THelpFile>(path_);
    } catch (const Exception& e) {
        contents_->hide();
        ShowMessage(QString::fromStdString(e.Message()));
        return false;
    }
    browser_->SetFile(file_.get());
    if (!file_->Title().isEmpty())
        setWindowTitle(file_->Title());
    FillContents();
    contents_->show();
    return true;
}

void THelpWindow::ShowMessage(const QString& text)
{
    browser_->setHtml(MessageHtml(QStringLiteral("Help is not available"), text));
}

void THelpWindow::FillContents()
{
    contents_->clear();
    AddContents(file_->Contents(), nullptr);
    contents_->expandAll();
}

void THelpWindow::AddContents(const QList<THelpContentsEntry>& entries, QTreeWidgetItem* parent)
{
    for (const THelpContentsEntry& entry : entries) {
        auto* item =
            parent != nullptr ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(contents_);
        item->setText(0, entry.name);
        item->setData(0, kTopicRole, entry.topic);
        AddContents(entry.children, item);
    }
}

void THelpWindow::OpenContentsItem(QTreeWidgetItem* item)
{
    const QString topic = item->data(0, kTopicRole).toString();
    if (!topic.isEmpty())
        browser_->setSource(TopicUrl(topic));
}

// Keeps the line of the shown topic marked when the topic was reached by a link.
void THelpWindow::MarkContentsItemOf(const QUrl& source)
{
    const QUrl page = source.adjusted(QUrl::RemoveFragment);
    for (QTreeWidgetItemIterator it(contents_); *it != nullptr; ++it) {
        const QString topic = (*it)->data(0, kTopicRole).toString();
        if (!topic.isEmpty() && TopicUrl(topic).adjusted(QUrl::RemoveFragment) == page) {
            contents_->setCurrentItem(*it);
            return;
        }
    }
}

THelpWindowViewer::~THelpWindowViewer()
{
    delete window_.data();
}

void THelpWindowViewer::ShowTopic(int context)
{
    if (window_ == nullptr)
        window_ = new THelpWindow(QString::fromStdString(HelpFile()));
    // A window outside the modal form would take no input until the form closes.
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && modal != window_ && modal != window_->parentWidget())
        window_->setParent(modal, Qt::Window);
    window_->ShowContext(context);
}
