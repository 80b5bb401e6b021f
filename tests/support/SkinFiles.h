#pragma once

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

// Makes skin files and the files they name in the Skins folder of a program folder.
class SkinFiles {
public:
    explicit SkinFiles(const QString& programFolder);
    // Removes the files written by writeNamedByBytes, which Qt cannot always name to remove.
    ~SkinFiles();
    SkinFiles(const SkinFiles&) = delete;
    SkinFiles& operator=(const SkinFiles&) = delete;

    // The Skins folder, without a trailing separator.
    const QString& folder() const { return folder_; }

    // Writes the bytes at the path relative to the Skins folder, making the folders on the way.
    // Returns the full path.
    QString write(const QString& relative, const QByteArray& bytes) const;

    // Writes the bytes to a file of the Skins folder whose name on disk is `name`, valid UTF-8 or
    // not; on Windows, whose names are text, `name` read in Windows-1252. Returns its full path
    // in the program's form of file names (FileName.h).
    QString writeNamedByBytes(const QByteArray& name, const QByteArray& bytes) const;

    // Makes a FIFO at the path relative to the Skins folder. True when made, and on Windows,
    // which has none.
    bool makeFifo(const QString& relative) const;

    // Why a test cannot make symbolic links with QFile::link here; null where it can.
    static const char* whyNoSymbolicLinks();

    // Why two names that differ only in letter case cannot name two files here; null where
    // they can.
    static const char* whyNoNamesDifferingInCase();

    // The path in the form in which this system compares file names, so that two paths to one
    // file compare equal: on Windows each name's trailing dots and spaces dropped and its
    // letter case folded; elsewhere the path itself.
    static QString asCompared(const QString& path);

    // A skin file: the lines joined by lineEnd, which also ends the last one.
    QString writeSkin(const QString& relative, const QStringList& lines,
                      const QByteArray& lineEnd = "\r\n") const;

    // A picture of one colour, in the format its file name's suffix names.
    QString writePicture(const QString& relative, QSize size, QColor colour) const;

private:
    QString folder_;
    mutable QList<QByteArray> namedByBytes_;
};

// A bitmap header claiming a picture of the given size, followed by a few pixels.
QByteArray bitmapClaiming(quint32 width, quint32 height);

// A PNG signature and header chunk claiming 65535 x 65535 pixels, and nothing more.
QByteArray pngClaiming65535();

// An icon whose directory lists one 16 x 16 picture of the colour `count` times. Each entry
// points at the picture's bytes, or `pastTheEnd` bytes beyond the end of the file.
QByteArray iconListing(int count, QColor colour, quint32 pastTheEnd = 0);

// The eight lines of a skin that uses every key with the given values.
QStringList skinLines(const QString& title, const QString& body, const QString& alarm,
                      const QString& hour, const QString& alarmSound);
