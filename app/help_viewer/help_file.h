#pragma once

// The compiled help file, read through chmlib: its inner files, the topic of a
// context number from the file's own context map, and its table of contents.

#include <memory>
#include <optional>

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

struct chmFile;

// One line of the table of contents; a line without a topic only groups others.
struct THelpContentsEntry {
    QString name;
    QString topic;  // path inside the file, possibly with "#anchor"
    QList<THelpContentsEntry> children;
};

class THelpFile {
public:
    // Raises Exception naming the path when the file is missing or not a help file.
    explicit THelpFile(const QString& path);
    ~THelpFile();
    THelpFile(const THelpFile&) = delete;
    THelpFile& operator=(const THelpFile&) = delete;

    // The inner file at this path ("topics/a.htm" or "/topics/a.htm"); none when
    // the file holds no such object.
    std::optional<QByteArray> Read(const QString& innerPath) const;
    // The path inside the file of the topic of this context; empty when the map
    // has no such context.
    QString TopicOfContext(int context) const;
    QString Title() const { return title_; }
    QString DefaultTopic() const { return defaultTopic_; }
    QList<THelpContentsEntry> Contents() const;

private:
    void ReadSystem();
    void ReadContextMap();

    std::unique_ptr<chmFile, void (*)(chmFile*)> chm_;
    QMap<int, QString> topics_;
    QString title_, defaultTopic_, contentsFile_;
};
