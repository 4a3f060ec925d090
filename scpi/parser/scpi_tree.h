#pragma once
// The SCPI language of the instrument as constant data: per command set a keyword tree, a parameter
// description per command id, and the shared choice lists and unit tables. The parser walks the tree and
// checks parameters against that description; the channel runs the handler of the command id.
#include <array>
#include <atomic>
#include <cstdint>

struct ScpiInterface;

// A keyword: its text as written in the command list (short form in upper case), compared without
// regard to case; the short form is its first shortLen characters.
struct ScpiKeyword {
    uint32_t shortLen;
    uint32_t longLen;
    const char* text;
};

// {-1, -1}: no numeric suffix.
struct ScpiSuffixRange {
    int32_t min;
    int32_t max;
};

enum ScpiNodeType : uint32_t {
    kNodeBranch = 0,
    kNodeSet = 1,
    kNodeQuery = 2,
    kNodeSetQuery = 3,
    kNodeSuffixRequired = 16,
    kNodeSuffixOptional = 32
};

// Nodes of one set live in one array and refer to each other by index. Index 0 is the common-command
// root, 1 the main root; a child index of 0 ends a list (no root is anyone's child).
struct ScpiTreeNode {
    uint16_t parent;
    uint16_t firstChild;
    uint16_t nextSibling;
    uint16_t cmdId;  // 0: not a command
    uint32_t type;   // ScpiNodeType bits
    ScpiKeyword keyword;
    ScpiSuffixRange suffix;
};

// A choice keyword and the value it gives; a list ends with an entry whose text is null.
struct ScpiChoice {
    ScpiKeyword keyword;
    int32_t value;
};

// A unit name (lower case) and its decimal exponent; a table ends with a null name.
struct ScpiUnit {
    const char* name;
    int32_t exponent;
};

enum ScpiParamKind : uint32_t {
    kParamNumeric = 1,
    kParamChoice = 2,
    kParamString = 4,
    kParamReal = 8,
    kParamExpression = 16,
    kParamBlock = 32,
    kParamAllPositions = 64,  // every position uses descriptor 0
    kParamOptional = 128
};

struct ScpiParamDesc {
    uint32_t kind;
    uint32_t unitTable;  // 0 none, 1-11
    const ScpiChoice* choices;
};

// One row per command id (row = id - 1): the set form's and the query form's parameter counts and
// descriptors, one descriptor per position.
struct ScpiParamSpec {
    uint32_t id;
    uint32_t setMin;
    uint32_t setMax;
    const ScpiParamDesc* setDesc;
    uint32_t queryMin;
    uint32_t queryMax;
    const ScpiParamDesc* queryDesc;
};

constexpr uint32_t kScpiUnitTables = 11;
constexpr uint16_t kScpiCommonRoot = 0;
constexpr uint16_t kScpiMainRoot = 1;

struct ScpiCmdSetDescriptor {
    uint32_t commonRoot;
    uint32_t mainRoot;
    const ScpiTreeNode* nodes;
    uint32_t nodeCount;
    const ScpiParamSpec* specs;
    uint32_t specCount;
    const ScpiUnit* const* units;  // main set: kScpiUnitTables + 1 entries, entry 0 unused; else null
};

// A handler reads the parsed command from the interface and reports errors by table index.
using ScpiHandler = int (*)(ScpiInterface* ifc);

// What a command's set form may change beyond its own setting. While a calibration is in progress the
// panel stays on its page and the output in the configuration the calibration started with: the commands
// that would change either are refused before their handler runs. A command of the status registers
// takes no change ticket (*OPC?).
enum class ScpiSetReach : uint8_t {
    kSetting,       // its own setting, or nothing the calibration depends on
    kPageOrOutput,  // the page shown or the output's configuration: mode, range, wiring, SEQ/SIM, a preset
                    // recall, a reset
    kStatus,        // the channel's own status registers only: nothing the stage plays, so *OPC? after it
                    // has nothing to wait for
};

struct ScpiHandlerRow {
    uint32_t id;
    ScpiHandler handler;
    ScpiSetReach reach = ScpiSetReach::kSetting;
};

// One row of g_ScpiCmdSets. The handler table has one row per id, row index = id; ids whose handler
// does not exist yet run the one of row 0.
struct ScpiCmdSet {
    const ScpiHandlerRow* handlers;
    uint32_t handlerCount;
    const ScpiCmdSetDescriptor* desc;
};

// Row 0 the main set, row 1 the alternate set.
extern const ScpiCmdSet g_ScpiCmdSets[2];
// The row in force; written only by the menu/control thread.
extern std::atomic<uint32_t> g_ScpiCmdSetSel;

namespace scpi {

constexpr uint32_t kMainCmdCount = 322;
constexpr uint32_t kAltCmdCount = 205;

extern const ScpiCmdSetDescriptor kMainCmdSetDesc;
extern const ScpiCmdSetDescriptor kAltCmdSetDesc;
// For every alternate id (index), the main-set command whose handler it runs; entry 0 is 0.
extern const std::array<uint16_t, kAltCmdCount + 1> kAltToMainId;
// The eleven unit tables, entry 0 unused.
extern const ScpiUnit* const kUnitTables[kScpiUnitTables + 1];

// A token matches a keyword when its length is the short or the long length and it equals that many
// characters of the keyword, letters compared without regard to case. Tokens of 16 characters or
// more never match.
bool KeywordMatch(const ScpiKeyword& keyword, const char* token, uint32_t length);
// The first choice of the list that the token matches; false when none does.
bool ChoiceLookup(const ScpiChoice* list, const char* token, uint32_t length, int32_t* value);
// The unit's exponent from a unit table; false when the table or the unit is unknown.
bool UnitLookup(uint32_t table, const char* unit, uint32_t length, int32_t* exponent);
// The command row of a command id, null when the id is not in the set.
const ScpiParamSpec* ParamSpecOf(const ScpiCmdSetDescriptor* set, uint32_t id);

}  // namespace scpi
