#pragma once
// A whole question base as plain data: what a base file holds and what the
// three tables hold. Texts are Windows-1251 bytes; full texts keep their line
// breaks as CR LF, as the tables store them.

#include <cstdint>
#include <string>
#include <vector>

namespace kv::basefile {

struct BaseGroup
{
    std::int64_t number = 0; // NGRUPPY; a base file gives 1, 2, 3 ... in file order
    std::string name;        // NAMEGRUPPA

    bool operator==(const BaseGroup &) const = default;
};

struct BaseQuestion
{
    std::int64_t number = 0; // NPOR; a base file gives 1, 2, 3 ... in file order
    std::int64_t group = 0;  // NGRUPPY
    std::string fullText;    // VOPRMEMO

    bool operator==(const BaseQuestion &) const = default;
};

struct BaseTicket
{
    std::int64_t ticket = 0;   // NBILETA
    std::int64_t position = 0; // NVOPROSA, the question's place inside its ticket
    std::int64_t question = 0; // NPOR of the question when the ticket was made
    std::int64_t group = 0;    // NGRUPPY of the question when the ticket was made
    std::string fullText;      // VOPRMEMO

    bool operator==(const BaseTicket &) const = default;
};

// Each list in the natural order of its table.
struct BaseData
{
    std::vector<BaseGroup> groups;
    std::vector<BaseQuestion> questions;
    std::vector<BaseTicket> tickets;

    bool operator==(const BaseData &) const = default;
};

} // namespace kv::basefile
