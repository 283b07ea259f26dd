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
        {"import-questions", "import-questions ФАЙЛ [--group N]",
         "Загружает вопросы из текстового списка ФАЙЛ (по вопросу в строке; пустая\n"
         "строка начинает следующую группу) в конец базы, как окно загрузки вопросов.\n"
         "Файл в Windows-1251, если он не начинается с метки UTF-8 или UTF-16.\n"
         "  --group N  присвоить группу № N (каждая пустая строка увеличивает N на 1)",
         runImportQuestions},
        {"import-groups", "import-groups ФАЙЛ",
         "Загружает названия групп из текстового списка ФАЙЛ (по названию в строке)\n"
         "в конец таблицы групп с номерами по порядку; пустые строки пропускаются.",
         runImportGroups},
    };
    return list;
}

std::string toUtf8(const std::string &cp1251)
{
    return kv::text::fromCp1251(cp1251).toStdString();
}

} // namespace kv::cli
