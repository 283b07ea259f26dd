// "Открыть базу вопросов..." and "Сохранить базу вопросов..." of the "&Файл"
// menu, and the automatic save of the current base under its own name.

#include "ViewsSetAside.h"

#include "core/app/ProjectInfo.h"
#include "core/base/BaseTables.h"
#include "core/basefile/BaseFile.h"
#include "core/basefile/BaseTransfer.h"
#include "gui/MessageService.h"
#include "gui/app/MainWindow.h"
#include "platform/dbf/FileLookup.h"

#include <QDir>
#include <QFileInfo>

#include <stdexcept>

namespace kv::gui {

namespace {

QString u(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

const char *const kBaseFileFilter = "Текстовый файл базы вопросов (*.txb )|*.txb";
const char *const kBaseFileSuffix = "txb";
const char *const kDefaultBaseFileName = "default.txb";

QString baseFolder(const TForm1 &form)
{
    return QString::fromStdString(
        kv::dbf::resolvePathNoCase(form.ProgramDir + "/" + kv::base::kBaseFolder));
}

void showBaseFileName(TForm1 &form)
{
    form.setWindowTitle(u(kv::app::kProgramCaption) + u(",  файл: ") +
                        QString::fromStdString(form.BaseFileName));
}

// The base as the views show it (a record being edited as typed) into the
// file `path`. Nothing is written unless the whole base could be read.
void writeBaseFile(TForm1 &form, const QString &path)
{
    for (const kv::store::Table *view : {&form.Table1, &form.Table2, &form.Table3}) {
        if (!view->isOpen())
            throw std::runtime_error(
                u("Таблица %1 не открыта: база вопросов не может быть сохранена в файл %2")
                    .arg(QString::fromStdString(view->fileName()), path)
                    .toStdString());
    }
    kv::basefile::BaseData base;
    QString error;
    if (!kv::basefile::collectBaseData(form.Table1, form.Table2, form.Table3, base, &error))
        throw std::runtime_error(
            u("База вопросов не сохранена в файл %1: %2").arg(path, error).toStdString());
    kv::basefile::BaseFileWriter writer;
    if (!writer.write(path, base))
        throw std::runtime_error(writer.errorString().toStdString());
}

} // namespace

void TForm1::SaveCurrentBase()
{
    const QString folder = baseFolder(*this);
    if (!QDir().mkpath(folder))
        throw std::runtime_error(u("Не удалось создать папку %1").arg(folder).toStdString());
    const QString path = QString::fromStdString(
        kv::dbf::resolvePathNoCase(folder.toStdString() + "/" + BaseFileName));
    writeBaseFile(*this, path);
    showBaseFileName(*this);
}

void TForm1::N6Click()
{
    // Only decides whether the old base is saved first.
    if (MessageService::show(u("ВНИМАНИЕ !!!"), u("Сохранить старую базу вопросов?"),
                             MessageButtons::OkCancel, MessageIcon::None,
                             this) == MessageAnswer::Ok) {
        WaitCursor wait;
        if (!runGuarded([this] { SaveCurrentBase(); }))
            return;
    }

    const QString path =
        MessageService::openFileName({u("Загрузить базу вопросов"), baseFolder(*this),
                                      OpenDialog1FileName, u(kBaseFileFilter), u(kBaseFileSuffix)},
                                     this);
    if (path.isEmpty())
        return;
    OpenDialog1FileName = path;

    WaitCursor wait;
    // The whole file is read and checked before the tables are touched.
    kv::basefile::BaseFileReader reader;
    if (!reader.read(path)) {
        MessageService::showError(reader.errorString(), this);
        return;
    }
    QString error;
    bool loaded = false;
    {
        ViewsSetAside aside({&Table1, &Table2, &Table3, &Table4, &Table2_1});
        loaded = kv::basefile::replaceBaseTables(QString::fromStdString(ProgramDir), reader.data(),
                                                 &error);
    }
    if (!loaded) {
        MessageService::showError(u("База вопросов не загружена из файла %1: %2").arg(path, error),
                                  this);
        return;
    }
    BaseFileName = QFileInfo(path).fileName().toStdString();
    showBaseFileName(*this);
    TabSheet5Show();
}

void TForm1::N7Click()
{
    // The current name is offered unless it is still the start-up name.
    const QString preset = BaseFileName != kDefaultBaseFileName
                               ? QString::fromStdString(BaseFileName)
                               : SaveDialog2FileName;
    const QString path =
        MessageService::saveFileName({u("Сохранить базу вопросов"), baseFolder(*this), preset,
                                      u(kBaseFileFilter), u(kBaseFileSuffix)},
                                     this);
    if (path.isEmpty())
        return;
    SaveDialog2FileName = path;

    if (QFileInfo::exists(path) &&
        MessageService::show(u("ВНИМАНИЕ !!!"), u("Такой файл существует. Перезаписать?"),
                             MessageButtons::OkCancel, MessageIcon::None,
                             this) != MessageAnswer::Ok)
        return;

    WaitCursor wait;
    if (!runGuarded([&] { writeBaseFile(*this, path); }))
        return;
    BaseFileName = QFileInfo(path).fileName().toStdString();
    showBaseFileName(*this);
}

} // namespace kv::gui
