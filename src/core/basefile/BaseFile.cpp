#include "BaseFile.h"

#include "BaseText.h"
#include "platform/dbf/DbfTypes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kv::basefile {

namespace {

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString reason(int error)
{
    return QString::fromStdString(dbf::systemErrorText(error));
}

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

QString readError(const QString &path, const QString &why)
{
    return QStringLiteral("Не удалось прочитать файл базы вопросов %1: %2").arg(shown(path), why);
}

QString writeError(const QString &path, const QString &why)
{
    return QStringLiteral("Не удалось записать файл базы вопросов %1: %2").arg(shown(path), why);
}

bool writeAll(int fd, const char *data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

mode_t newFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

bool readWholeFile(const QString &path, std::string &bytes, QString *error)
{
    bytes.clear();
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        setError(error, readError(path, reason(errno)));
        return false;
    }
    struct stat st
    {
    };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int e = errno;
        ::close(fd);
        setError(error,
                 readError(path, S_ISDIR(st.st_mode) ? QStringLiteral("это папка") : reason(e)));
        return false;
    }
    bytes.resize(static_cast<std::size_t>(st.st_size));
    std::size_t done = 0;
    for (;;) {
        // Past the size known at the start, read into a small buffer first,
        // so that a file that did not grow costs no reallocation.
        char probe[4096];
        const bool inPlace = done < bytes.size();
        char *into = inPlace ? bytes.data() + done : probe;
        const std::size_t room = inPlace ? bytes.size() - done : sizeof probe;
        const ssize_t n = ::read(fd, into, room);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int e = errno;
            ::close(fd);
            bytes.clear();
            setError(error, readError(path, reason(e)));
            return false;
        }
        if (n == 0)
            break;
        if (!inPlace) {
            bytes.resize(done);
            bytes.append(probe, static_cast<std::size_t>(n));
        }
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    bytes.resize(done);
    return true;
}

bool replaceFile(const QString &path, std::string_view bytes, QString *error)
{
    QFileInfo info(path);
    if (info.isSymLink() && info.exists())
        info = QFileInfo(info.canonicalFilePath());
    const QByteArray target = QFile::encodeName(info.absoluteFilePath());
    struct stat old
    {
    };
    const bool exists = ::lstat(target.constData(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode)) {
        setError(error, writeError(path, QStringLiteral("это папка")));
        return false;
    }
    // A file without any write permission bit counts as protected even for
    // a user whom the system would let write it.
    if (exists && ((old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ||
                   ::access(target.constData(), W_OK) != 0)) {
        setError(error, writeError(path, QStringLiteral("файл защищён от записи")));
        return false;
    }

    QByteArray temp = QFile::encodeName(info.absolutePath()) + "/." +
                      QFile::encodeName(info.fileName()) + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        setError(error, writeError(path, reason(errno)));
        return false;
    }
    auto fail = [&](int e) {
        ::unlink(temp.constData());
        setError(error, writeError(path, reason(e)));
        return false;
    };
    const mode_t mode = exists ? (old.st_mode & 07777) : newFileMode();
    if (::fchmod(fd, mode) != 0 || !writeAll(fd, bytes.data(), bytes.size()) || ::fsync(fd) != 0) {
        const int e = errno;
        ::close(fd);
        return fail(e);
    }
    if (::close(fd) != 0)
        return fail(errno);
    if (::rename(temp.constData(), target.constData()) != 0)
        return fail(errno);
    const int folder = ::open(QFile::encodeName(info.absolutePath()).constData(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}

bool BaseFileReader::read(const QString &path)
{
    data_ = BaseData();
    errorString_.clear();
    std::string bytes;
    if (!readWholeFile(path, bytes, &errorString_))
        return false;
    BaseTextReader reader;
    if (!reader.read(bytes)) {
        errorString_ = QStringLiteral("Ошибка в файле базы вопросов %1, %2")
                           .arg(shown(path), reader.errorString());
        return false;
    }
    data_ = reader.takeData();
    return true;
}

bool BaseFileWriter::write(const QString &path, const BaseData &base)
{
    errorString_.clear();
    return replaceFile(path, writeBaseText(base), &errorString_);
}

} // namespace kv::basefile
