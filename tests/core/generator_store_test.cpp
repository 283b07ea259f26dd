#include "core/base/BaseTables.h"
#include "core/generator/GenerationRun.h"
#include "core/generator/RandomSource.h"
#include "core/generator/TicketStore.h"
#include "platform/dbf/NewTableFile.h"
#include "platform/store/Table.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <tuple>

using namespace kv;
using namespace kv::generator;

namespace {

// One stored ticket record: NBILETA, NVOPROSA, NPOR, NGRUPPY, VOPROS, VOPRMEMO.
using Stored = std::tuple<int, int, int, int, std::string, std::string>;

class GenerationStore : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        base::createMissingBaseTables(dir.path());
        tables = GenerationTables::inFolder(dir.path());
    }

    // Questions numbered 1.. in natural order, sizes[g-1] of group g, and one
    // group record per group.
    void makeBase(const std::vector<int> &sizes)
    {
        dbf::NewTableFile questions(tables.questions, tables.questions, base::questionFields());
        int n = 0;
        for (std::size_t g = 0; g < sizes.size(); ++g)
            for (int i = 0; i < sizes[g]; ++i) {
                ++n;
                questions.appendRecord({std::int64_t{n},
                                        std::int64_t(g + 1),
                                        "Вопрос " + std::to_string(n),
                                        "Вопрос " + std::to_string(n) + "\r\nстрока 2",
                                        {},
                                        {}});
            }
        questions.commit();
        dbf::NewTableFile groups(tables.groups, tables.groups, base::groupFields());
        for (std::size_t g = 0; g < sizes.size(); ++g)
            groups.appendRecord({std::int64_t(g + 1), "Группа"});
        groups.commit();
    }

    // An earlier ticket set of T tickets of K places (NPOR 1000 + place).
    void storeOldSet(int T, int K)
    {
        std::vector<hb> places;
        for (int t = 1; t <= T; ++t)
            for (int q = 1; q <= K; ++q)
                places.push_back({std::int16_t(1000 + q), 1, std::int16_t(t), std::int16_t(q),
                                  "старый", "старый билет"});
        StoreTickets(tables.tickets, places);
    }

    std::vector<Stored> storedTickets(bool *extraFieldsEmpty = nullptr) const
    {
        store::Table t;
        t.setFileName(tables.tickets);
        t.open();
        std::vector<Stored> out;
        if (extraFieldsEmpty)
            *extraFieldsEmpty = true;
        t.first();
        for (int i = 0; i < t.recordCount(); ++i) {
            out.emplace_back(*t.integerField("NBILETA"), *t.integerField("NVOPROSA"),
                             *t.integerField("NPOR"), *t.integerField("NGRUPPY"),
                             t.textField("VOPROS"), t.textField("VOPRMEMO"));
            if (extraFieldsEmpty && (!t.isNull("SLOGNOST") || !t.isNull("VAGNOST")))
                *extraFieldsEmpty = false;
            t.next();
        }
        return out;
    }

    static std::vector<Stored> asStored(const std::vector<hb> &places)
    {
        std::vector<Stored> out;
        for (const hb &e : places)
            out.emplace_back(e.NBILETA, e.NVOPROSA, e.NPOR, e.NGRUPPY, e.VOPROS, e.VOPRMEMO);
        return out;
    }

    static GenerationParams params(int T, int K)
    {
        GenerationParams p;
        p.ticketCountText = std::to_string(T);
        p.questionsPerTicketText = std::to_string(K);
        return p;
    }

    QStringList sysFiles() const { return QDir(dir.path() + "/Sys").entryList(QDir::Files); }

    QTemporaryDir dir;
    GenerationTables tables;
};

TEST_F(GenerationStore, NewSetReplacesTheOldOneInTicketOrder)
{
    makeBase({4, 4, 4});
    storeOldSet(16, 9);
    SeedRandom(4);
    auto p = params(3, 2);
    p.order = TicketOrder::ByGroup;
    const GenerationResult r = RunGeneration(tables, p);
    ASSERT_TRUE(r.ok);
    EXPECT_TRUE(r.stored);
    EXPECT_TRUE(r.messages.empty());

    bool extraEmpty = false;
    const std::vector<Stored> stored = storedTickets(&extraEmpty);
    ASSERT_EQ(stored.size(), 6u);
    EXPECT_EQ(stored, asStored(r.places));
    EXPECT_TRUE(extraEmpty); // SLOGNOST and VAGNOST are never written
    for (std::size_t i = 0; i < stored.size(); ++i) {
        const auto &[ticket, place, npor, group, line, memo] = stored[i];
        EXPECT_EQ(ticket, int(i / 2) + 1);
        EXPECT_EQ(place, int(i % 2) + 1);
        EXPECT_EQ(group, (npor - 1) / 4 + 1); // the question's own group came along
        EXPECT_EQ(line, "Вопрос " + std::to_string(npor));
        EXPECT_EQ(memo, line + "\r\nстрока 2");
        if (place == 2) { // ordered by group inside the ticket
            EXPECT_LT(std::get<3>(stored[i - 1]), group);
        }
    }
    EXPECT_EQ(sysFiles().filter(".kvtmp").size(), 0);
}

TEST_F(GenerationStore, NoPlacesLeaveAnEmptyTable)
{
    makeBase({3});
    storeOldSet(2, 2);
    const GenerationResult r = RunGeneration(tables, params(0, 5));
    EXPECT_TRUE(r.stored);
    EXPECT_TRUE(storedTickets().empty());
}

// Every way a run can end without a new set leaves the stored one as it was.
TEST_F(GenerationStore, FailedRunsKeepTheStoredSet)
{
    makeBase({2, 2});
    storeOldSet(2, 3);
    const std::vector<Stored> before = storedTickets();

    auto sum = params(2, 3);
    sum.useGroupCounts = true;
    sum.groupCountsText = "1 1";
    auto unfillable = params(1, 5); // five places, four questions
    for (const GenerationParams &p : {sum, unfillable}) {
        const GenerationResult r = RunGeneration(tables, p);
        EXPECT_FALSE(r.ok);
        EXPECT_FALSE(r.stored);
        EXPECT_EQ(storedTickets(), before);
    }

    // The tickets held by a view: refused before anything is written, and
    // the message names the file.
    {
        store::Table view;
        view.setFileName(tables.tickets);
        view.open();
        std::vector<GenerationMessage> shown;
        GenerationCallbacks callbacks;
        callbacks.showMessage = [&](const GenerationMessage &m) { shown.push_back(m); };
        const GenerationResult r = RunGeneration(tables, params(2, 2), callbacks);
        EXPECT_FALSE(r.ok);
        EXPECT_FALSE(r.stored);
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].title, "ОШИБКА !!!");
        EXPECT_EQ(shown[0].text.rfind("Ошибка генерации билетов\n", 0), 0u);
        EXPECT_NE(shown[0].text.find("Bilety.DBF"), std::string::npos);
        EXPECT_NE(shown[0].text.find("Прежние билеты сохранены без изменений."), std::string::npos);
    }
    EXPECT_EQ(storedTickets(), before);
}

// A tickets table made elsewhere with a two-digit ticket number: writing
// fails at ticket 100, well into the new set. The old set must survive whole
// and no temporary file may stay behind.
TEST_F(GenerationStore, FailureWhileWritingKeepsTheOldSetWhole)
{
    auto fields = base::ticketFields();
    fields[0] = dbf::numericField("NBILETA", 2);
    {
        dbf::NewTableFile narrow(tables.tickets, tables.tickets, fields);
        narrow.appendRecord({std::int64_t{7},
                             std::int64_t{1},
                             std::int64_t{5},
                             std::int64_t{1},
                             {},
                             {},
                             "старый",
                             "старый билет"});
        narrow.commit();
    }
    const std::vector<Stored> before = storedTickets();
    makeBase({150});
    SeedRandom(1);
    auto p = params(120, 1);
    p.orderQuestions = false;
    std::vector<BoxChange> boxes;
    GenerationCallbacks callbacks;
    callbacks.setBox = [&](RuleBox box, bool on) { boxes.push_back({box, on}); };
    const GenerationResult r = RunGeneration(tables, p, callbacks);
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.stored);
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_NE(r.messages[0].text.find("Число 100 не помещается в поле NBILETA"),
              std::string::npos); // it did fail in the middle of the new set
    EXPECT_NE(r.messages[0].text.find("Bilety.DBF"), std::string::npos);
    EXPECT_EQ(storedTickets(), before);
    EXPECT_EQ(sysFiles().filter(".kvtmp").size(), 0);
    EXPECT_TRUE(boxes.empty());
}

// The run's boxes are cleared again when the store fails after a relaxation.
TEST_F(GenerationStore, BoxesAreClearedAfterAFailedStore)
{
    makeBase({1, 1}); // the second ticket must repeat questions
    store::Table view;
    view.setFileName(tables.tickets);
    view.open();
    std::vector<BoxChange> boxes;
    GenerationCallbacks callbacks;
    callbacks.setBox = [&](RuleBox box, bool on) { boxes.push_back({box, on}); };
    SeedRandom(3);
    const GenerationResult r = RunGeneration(tables, params(2, 2), callbacks);
    EXPECT_FALSE(r.stored);
    EXPECT_EQ(boxes, (std::vector<BoxChange>{{RuleBox::Repeats, true}, {RuleBox::Repeats, false}}));
    ASSERT_EQ(r.messages.size(), 2u); // the relaxation, then the failed store
    EXPECT_EQ(r.messages[0].text, "Не могу выполнить, поэтому включаю повтор вопросов с билета №2");
}

TEST_F(GenerationStore, QuestionsAreReadInNaturalOrderWithBlanksAsMissing)
{
    {
        dbf::NewTableFile questions(tables.questions, tables.questions, base::questionFields());
        questions.appendRecord({std::int64_t{9}, std::int64_t{2}, "девять", "Девять", {}, {}});
        questions.appendRecord({{}, std::int64_t{1}, {}, {}, {}, {}});
        questions.commit();
    }
    const std::vector<SourceQuestion> qs = ReadQuestions(tables.questions);
    ASSERT_EQ(qs.size(), 2u);
    EXPECT_EQ(qs[0].NPOR, 9);
    EXPECT_EQ(qs[0].VOPRMEMO, "Девять");
    EXPECT_FALSE(qs[1].NPOR.has_value());
    EXPECT_FALSE(qs[1].VOPROS.has_value());
    EXPECT_FALSE(qs[1].VOPRMEMO.has_value());

    // Such a question is stored with the three-space text of a missing one.
    SeedRandom(0);
    const GenerationResult r = RunGeneration(tables, params(1, 2));
    ASSERT_TRUE(r.stored);
    const auto &blank = r.places[0].NPOR == 0 ? r.places[0] : r.places[1];
    EXPECT_EQ(blank.VOPROS, "   ");
    EXPECT_EQ(blank.VOPRMEMO, "   ");
}

} // namespace
