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
        {"load-base", "load-base ФАЙЛ",
         "Заменяет группы, вопросы и билеты базы содержимым файла базы (*.txb).\n"
         "Файл с ошибкой не загружается: таблицы остаются прежними, а сообщение\n"
         "называет строку и причину.",
         runLoadBase},
        {"save-base", "save-base ФАЙЛ [--force]",
         "Сохраняет группы, вопросы и билеты базы в файл базы (*.txb).\n"
         "  --force  заменить существующий файл",
         runSaveBase},
        {"generate",
         "generate [--tickets T] [--questions K] [--allow-repeats] [--allow-group-repeats]\n"
         "         [--group-counts \"2 2 3\"] [--order number|group|none] [--seed S]",
         "Составляет билеты и заменяет ими сохранённые, как кнопка «Генерировать».\n"
         "Параметры, которые не заданы, берутся из Sys/sys.ini (иначе по умолчанию).\n"
         "  --tickets T              количество билетов (16)\n"
         "  --questions K            количество вопросов в билете (9)\n"
         "  --allow-repeats          разрешить одинаковые вопросы в разных билетах\n"
         "  --allow-group-repeats    разрешить более 1-го вопроса из группы в билете\n"
         "  --group-counts \"2 2 3\"  количество вопросов из каждой группы (через пробел)\n"
         "  --order number|group|none  порядок вопросов в билете (по № п/п)\n"
         "  --seed S                 начальное значение случайных чисел (иначе часы)\n"
         "Сообщения программы выводятся в stderr по одному в строке. Код 0, когда\n"
         "билеты сохранены (также после ослабления правил), иначе 1.",
         runGenerate},
        {"similar", "similar [--percent P]",
         "Выводит пары похожих вопросов, как окно анализа совпадения вопросов.\n"
         "  --percent P  процент совпадения, от 0 до 100 (70)",
         runSimilar},
        {"layout",
         "layout [--template ИМЯ] [--group-numbers] [--question-numbers] [--indent N]\n"
         "       (--rtf ФАЙЛ | --text)",
         "Получает сохранённые билеты в текстовом виде, как кнопка «Получить билеты\n"
         "в текстовом виде», и сохраняет их в файл RTF или выводит текстом.\n"
         "Параметры берутся только из командной строки.\n"
         "  --template ИМЯ       шаблон RTF из папки Sys (иначе простая раскладка)\n"
         "  --group-numbers      указать в скобках номер группы\n"
         "  --question-numbers   указать в скобках общий номер вопроса\n"
         "  --indent N           отступ, от 0 до 80 (висячий отступ N*8+19 пт)\n"
         "  --rtf ФАЙЛ           сохранить в файл RTF (с полями страницы шаблона)\n"
         "  --text               вывести текст билетов в stdout\n"
         "Код 1, когда шаблон не найден или билеты не получены; файл тогда не пишется.",
         runLayout},
    };
    return list;
}

std::string toUtf8(const std::string &cp1251)
{
    return kv::text::fromCp1251(cp1251).toStdString();
}

} // namespace kv::cli
