#include "Commands.h"

#include "platform/text/Cp1251.h"

namespace kv::cli {

const std::vector<Command> &commands()
{
    static const std::vector<Command> list = {
        {"init", "init",
         "Создаёт в рабочей папке папку Sys с тремя пустыми таблицами и папку Base,\n"
         "если их нет. Существующие таблицы не изменяются.",
         runInit},
        {"dump", "dump questions|groups|tickets",
         "Выводит записи таблицы в естественном порядке, по одной в строке,\n"
         "поля разделены табуляцией:\n"
         "  questions  NPOR NGRUPPY VOPROS VOPRMEMO\n"
         "  groups     NGRUPPY NAMEGRUPPA\n"
         "  tickets    NBILETA NVOPROSA NPOR NGRUPPY VOPROS VOPRMEMO\n"
         "Пустое число выводится пустым полем; в текстах обратная косая черта,\n"
         "табуляция, CR и LF записываются как \\\\, \\t, \\r и \\n.",
         runDump},
    };
    return list;
}

std::string toUtf8(const std::string &cp1251)
{
    return kv::text::fromCp1251(cp1251).toStdString();
}

} // namespace kv::cli
