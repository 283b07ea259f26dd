#pragma once
// Base files on disk: reading a whole file before anything is taken from it,
// and writing a new file beside the old one that replaces it only once it is
// complete. Messages are Russian and name the file.

#include "BaseData.h"

#include <QString>

#include <string>
#include <string_view>

namespace kv::basefile {

// Reads and takes apart a whole base file. On failure data() is empty and
// errorString() names the file and, for a line that cannot be read, the line.
class BaseFileReader
{
public:
    bool read(const QString &path);

    const BaseData &data() const { return data_; }
    BaseData takeData() { return std::move(data_); }
    const QString &errorString() const { return errorString_; }

private:
    BaseData data_;
    QString errorString_;
};

// Writes a base file. The text goes into a new file in the same folder, is
// flushed to disk and then renamed over the old file, so a failure (missing
// folder, full disk, no access) leaves the old file as it was. A file that is
// protected from writing is not replaced.
class BaseFileWriter
{
public:
    bool write(const QString &path, const BaseData &base);
    const QString &errorString() const { return errorString_; }

private:
    QString errorString_;
};

// The two file steps on their own. On failure `error` gets the reason.
bool readWholeFile(const QString &path, std::string &bytes, QString *error);
bool replaceFile(const QString &path, std::string_view bytes, QString *error);

} // namespace kv::basefile
