// "Упаковать базы" (menu "&Файл") and "Удалить все вопросы и группы" (menu
// "&Настройка"): both rewrite the table files while holding them alone.

#include "ViewsSetAside.h"

#include "gui/MessageService.h"
#include "gui/app/MainWindow.h"

#include <array>

namespace kv::gui {

namespace {

QString u(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

bool ask(TForm1 &form, const char *title, const char *text)
{
    return MessageService::show(u(title), u(text), MessageButtons::OkCancel, MessageIcon::None,
                                &form) == MessageAnswer::Ok;
}

const char *const kClearTitle = "ВНИМАНИЕ !!! УДАЛЕНИЕ ВСЕХ ВОПРОСОВ И ГРУПП";

// Closes every view, opens the questions, groups and tickets tables for
// exclusive use, empties the questions and groups when asked, packs the
// three and opens every view again for shared use. A table that another
// view or program holds stops the work at that step; the views are opened
// again all the same and the error is shown.
void rewriteTables(TForm1 &form, bool emptyQuestionsAndGroups)
{
    WaitCursor wait;
    ViewsSetAside aside({&form.Table1, &form.Table2, &form.Table3, &form.Table4, &form.Table2_1});
    const std::array<kv::store::Table *, 3> tables{&form.Table1, &form.Table2, &form.Table3};
    runGuarded([&] {
        for (kv::store::Table *t : tables) {
            t->setExclusive(true);
            t->open();
        }
        if (emptyQuestionsAndGroups) {
            form.Table1.emptyTable();
            form.Table2.emptyTable();
        }
        for (kv::store::Table *t : tables)
            t->pack();
    });
    for (kv::store::Table *t : tables) {
        t->close();
        t->setExclusive(false);
    }
    aside.reopen();
}

} // namespace

void TForm1::N6_PackClick()
{
    if (!ask(*this, "ВНИМАНИЕ !!!", "Упаковать базы?"))
        return;
    rewriteTables(*this, false);
}

void TForm1::N12Click()
{
    if (ask(*this, kClearTitle, "Перед удалением предварительно сохранить базу вопросов?")) {
        // A failed save stops the command before anything is deleted.
        WaitCursor wait;
        if (!runGuarded([this] { SaveCurrentBase(); }))
            return;
    }
    if (!ask(*this, kClearTitle, "Произвести удаление?"))
        return;
    rewriteTables(*this, true);
}

} // namespace kv::gui
