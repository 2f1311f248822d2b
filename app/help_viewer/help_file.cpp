#include "app/help_viewer/help_file.h"

#include <algorithm>
#include <chm_lib.h>

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextDocumentFragment>
#include <QtEndian>

#include "platform/exception.h"

namespace {

// Records of #SYSTEM that name the files and texts the window needs.
constexpr quint16 kSystemContentsFile = 0;
constexpr quint16 kSystemDefaultTopic = 2;
constexpr quint16 kSystemTitle = 3;

std::optional<quint32> DWordAt(const QByteArray& bytes, qsizetype at)
{
    if (at < 0 || at + 4 > bytes.size())
        return std::nullopt;
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

quint16 WordAt(const QByteArray& bytes, qsizetype at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

// A zero-terminated text starting at this offset; empty outside the bytes.
QString TextAt(const QByteArray& bytes, qsizetype at)
{
    if (at < 0 || at >= bytes.size())
        return {};
    const qsizetype end = bytes.indexOf('\0', at);
    return QString::fromUtf8(bytes.mid(at, end < 0 ? -1 : end - at));
}

std::unique_ptr<chmFile, void (*)(chmFile*)> OpenHelpFile(const QString& path)
{
    if (!QFileInfo(path).isFile())
        throw Exception("The help file \"" + path.toStdString() + "\" was not found.");
    chmFile* chm = chm_open(QFile::encodeName(path).constData());
    if (chm == nullptr)
        throw Exception("The help file \"" + path.toStdString() +
                        "\" cannot be read: it is not a compiled help file or access is denied.");
    return {chm, &chm_close};
}

QString DecodedValue(const QString& html)
{
    return QTextDocumentFragment::fromHtml(html).toPlainText();
}

// The tags of a sitemap that matter: lists, objects and their parameters.
constexpr const char kSitemapTokens[] =
    R"re(<(/?)ul\b[^>]*>|<object\b[^>]*>|</object\s*>|)re"
    R"re(<param\s+name\s*=\s*"([^"]*)"\s+value\s*=\s*"([^"]*)"[^>]*>)re";

// Parses the sitemap of the table of contents: nested lists of objects, each
// with a "Name" and an optional "Local" parameter.
class TSitemapReader {
public:
    QList<THelpContentsEntry> Read(const QString& sitemap)
    {
        static const QRegularExpression token(QString::fromLatin1(kSitemapTokens),
                                              QRegularExpression::CaseInsensitiveOption);
        levels_ = {&root_};
        for (const QRegularExpressionMatch& match : token.globalMatch(sitemap))
            Take(match);
        return root_;
    }

private:
    void Take(const QRegularExpressionMatch& match)
    {
        const QString tag = match.captured(0).toLower();
        if (tag.startsWith(QStringLiteral("<ul")))
            Enter();
        else if (tag.startsWith(QStringLiteral("</ul")) && levels_.size() > 1)
            levels_.removeLast();
        else if (tag.startsWith(QStringLiteral("<object")))
            pending_ = THelpContentsEntry{};
        else if (tag.startsWith(QStringLiteral("</object")))
            levels_.last()->append(pending_);
        else
            SetParameter(match.captured(2).toLower(), DecodedValue(match.captured(3)));
    }

    // A list inside a list holds the children of the line before it.
    void Enter()
    {
        QList<THelpContentsEntry>* level = levels_.last();
        levels_.append(level->isEmpty() ? level : &level->last().children);
    }

    void SetParameter(const QString& name, const QString& value)
    {
        if (name == QStringLiteral("name"))
            pending_.name = value;
        else if (name == QStringLiteral("local"))
            pending_.topic = value;
    }

    QList<THelpContentsEntry> root_;
    QList<QList<THelpContentsEntry>*> levels_;
    THelpContentsEntry pending_;
};

}  // namespace

THelpFile::THelpFile(const QString& path) : chm_(OpenHelpFile(path))
{
    ReadSystem();
    ReadContextMap();
}

THelpFile::~THelpFile() = default;

std::optional<QByteArray> THelpFile::Read(const QString& innerPath) const
{
    const QString path = innerPath.startsWith(u'/') ? innerPath : u'/' + innerPath;
    chmUnitInfo unit{};
    if (chm_resolve_object(chm_.get(), QFile::encodeName(path).constData(), &unit) !=
        CHM_RESOLVE_SUCCESS)
        return std::nullopt;
    QByteArray bytes(static_cast<qsizetype>(unit.length), Qt::Uninitialized);
    const LONGINT64 read =
        chm_retrieve_object(chm_.get(), &unit, reinterpret_cast<unsigned char*>(bytes.data()), 0,
                            static_cast<LONGINT64>(unit.length));
    if (read != static_cast<LONGINT64>(unit.length))
        return std::nullopt;
    return bytes;
}

QString THelpFile::TopicOfContext(int context) const
{
    return topics_.value(context);
}

QList<THelpContentsEntry> THelpFile::Contents() const
{
    const std::optional<QByteArray> sitemap = Read(contentsFile_);
    if (contentsFile_.isEmpty() || !sitemap)
        return {};
    return TSitemapReader().Read(QString::fromUtf8(*sitemap));
}

// #SYSTEM: a version, then records of a code, a length and that many bytes.
void THelpFile::ReadSystem()
{
    const QByteArray system = Read(QStringLiteral("#SYSTEM")).value_or(QByteArray());
    for (qsizetype at = 4; at + 4 <= system.size();) {
        const quint16 code = WordAt(system, at);
        const quint16 length = WordAt(system, at + 2);
        const QString text = TextAt(system.left(at + 4 + length), at + 4);
        if (code == kSystemContentsFile)
            contentsFile_ = text;
        else if (code == kSystemDefaultTopic)
            defaultTopic_ = text;
        else if (code == kSystemTitle)
            title_ = text;
        at += 4 + length;
    }
}

// #IVB: its length in bytes, then pairs of a context number and the offset of
// the topic's path in #STRINGS.
void THelpFile::ReadContextMap()
{
    const QByteArray map = Read(QStringLiteral("#IVB")).value_or(QByteArray());
    const QByteArray strings = Read(QStringLiteral("#STRINGS")).value_or(QByteArray());
    const qsizetype end = std::min<qsizetype>(map.size(), 4 + DWordAt(map, 0).value_or(0));
    for (qsizetype at = 4; at + 8 <= end; at += 8) {
        const QString topic = TextAt(strings, DWordAt(map, at + 4).value_or(0));
        if (!topic.isEmpty())
            topics_.insert(static_cast<int>(*DWordAt(map, at)), topic);
    }
}
