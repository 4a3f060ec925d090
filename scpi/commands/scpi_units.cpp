// The eleven unit tables of the main command set. Units are looked up in lower case; in the voltage,
// current, power, energy, capacitance, inductance and time tables "m" is milli and "ma" mega, in the
// resistance and frequency tables "mr", "mohm" and "mhz" are mega.
#include "scpi/parser/scpi_tree.h"

namespace {

constexpr ScpiUnit kVolt[] = {{"v", 0},    {"kv", 3},   {"mv", -3},  {"mav", 6},  {"uv", -6},
                              {"gv", 9},   {"nv", -9},  {"tv", 12},  {"pv", -12}, {"pev", 15},
                              {"fv", -15}, {"exv", 18}, {"av", -18}, {nullptr, 0}};
constexpr ScpiUnit kAmpere[] = {{"a", 0},    {"ka", 3},   {"ma", -3},  {"maa", 6},  {"ua", -6},
                                {"ga", 9},   {"na", -9},  {"ta", 12},  {"pa", -12}, {"pea", 15},
                                {"fa", -15}, {"exa", 18}, {"aa", -18}, {nullptr, 0}};
constexpr ScpiUnit kOhm[] = {{"r", 0},      {"ohm", 0},    {"kr", 3},     {"kohm", 3},   {"mr", 6},
                             {"mar", 6},    {"mohm", 6},   {"maohm", 6},  {"ur", -6},    {"uohm", -6},
                             {"gr", 9},     {"gohm", 9},   {"nohm", -9},  {"tohm", 12},  {"pohm", -12},
                             {"peohm", 15}, {"fohm", -15}, {"exohm", 18}, {"aohm", -18}, {nullptr, 0}};
constexpr ScpiUnit kWatt[] = {{"w", 0},    {"kw", 3},   {"mw", -3},  {"maw", 6},  {"uw", -6},
                              {"gw", 9},   {"nw", -9},  {"tw", 12},  {"pw", -12}, {"pew", 15},
                              {"fw", -15}, {"exw", 18}, {"aw", -18}, {nullptr, 0}};
constexpr ScpiUnit kDbw[] = {{"dbw", 0},    {"dbkw", 3},   {"dbm", -3},   {"dbmw", -3},  {"dbmaw", 6},
                             {"dbuw", -6},  {"dbgw", 9},   {"dbnw", -9},  {"dbtw", 12},  {"dbpw", -12},
                             {"dbpew", 15}, {"dbfw", -15}, {"dbexw", 18}, {"dbaw", -18}, {nullptr, 0}};
constexpr ScpiUnit kJoule[] = {{"j", 0},    {"kj", 3},   {"mj", -3},  {"maj", 6},  {"uj", -6},
                               {"gj", 9},   {"nj", -9},  {"tj", 12},  {"pj", -12}, {"pej", 15},
                               {"fj", -15}, {"exj", 18}, {"aj", -18}, {nullptr, 0}};
constexpr ScpiUnit kFarad[] = {{"f", 0},    {"kf", 3},   {"mf", -3},  {"maf", 6},  {"uf", -6},
                               {"gf", 9},   {"nf", -9},  {"tf", 12},  {"pf", -12}, {"pef", 15},
                               {"ff", -15}, {"exf", 18}, {"af", -18}, {nullptr, 0}};
constexpr ScpiUnit kHenry[] = {{"h", 0},    {"kh", 3},   {"mh", -3},  {"mah", 6},  {"uh", -6},
                               {"gh", 9},   {"nh", -9},  {"th", 12},  {"ph", -12}, {"peh", 15},
                               {"fh", -15}, {"exh", 18}, {"ah", -18}, {nullptr, 0}};
constexpr ScpiUnit kHertz[] = {{"hz", 0},    {"khz", 3},   {"mhz", 6},   {"mahz", 6},  {"uhz", -6},
                               {"ghz", 9},   {"nhz", -9},  {"thz", 12},  {"phz", -12}, {"pehz", 15},
                               {"fhz", -15}, {"exhz", 18}, {"ahz", -18}, {nullptr, 0}};
// "tS" is kept as written: a unit read from a message is lower case and never matches it.
constexpr ScpiUnit kSecond[] = {{"s", 0},    {"ks", 3},   {"ms", -3},  {"mas", 6},  {"us", -6},
                                {"gs", 9},   {"ns", -9},  {"tS", 12},  {"ps", -12}, {"pes", 15},
                                {"fs", -15}, {"exs", 18}, {"as", -18}, {nullptr, 0}};
constexpr ScpiUnit kTemperature[] = {{"k", 0}, {"cel", 0}, {"far", 0}, {nullptr, 0}};

}  // namespace

namespace scpi {

const ScpiUnit* const kUnitTables[kScpiUnitTables + 1] = {
    nullptr, kVolt, kAmpere, kOhm, kWatt, kDbw, kJoule, kFarad, kHenry, kHertz, kSecond, kTemperature,
};

}  // namespace scpi
