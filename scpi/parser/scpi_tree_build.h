#pragma once
// Builds a command set's keyword tree and parameter specs while compiling, from command rows written
// as in the command list: {id, "[SOURce:]VOLTage[:LEVel]", "SQ", "1: R|Ch1", "0-1: Ch1?"}. Every
// written form of a command (with and without each optional keyword) becomes its own chain of nodes
// ending in a node that carries the command id. A row that contradicts another (two ids on one node,
// two siblings one token could match, a parameter list that does not fit its count) stops the build
// with a call to one of the undefined functions below, whose name says what is wrong.
#include <array>
#include <cstddef>
#include <cstdint>

#include "scpi/commands/scpi_choices.h"
#include "scpi/parser/scpi_tree.h"

namespace scpi {

// One command of the main set. setForm/queryForm: "min[-max]: desc, desc, ..." where a descriptor
// joins N (numeric), R (real numeric), T (string), B (block) and ChN (choice list N) with "|" and
// ends in "?" when the parameter may be omitted; null: the form takes no parameter.
struct ScpiCmdRow {
    uint16_t id;
    const char* path;
    const char* type;  // "S", "Q" or "SQ"
    const char* setForm;
    const char* queryForm;
};

// One command of the alternate set: '=' the same path as main command mainId, '>' another path that
// runs main command mainId's handler. Null type or form: as the main command; "" form: no parameter.
struct ScpiAltCmdRow {
    uint16_t id;
    const char* path;
    char link;
    uint16_t mainId;
    const char* type;
    const char* setForm;
    const char* queryForm;
};

void TreeErrorBadPath();
void TreeErrorTooManyLevels();
void TreeErrorTooManyNodes();
void TreeErrorTwoIdsOnOneNode();
void TreeErrorSuffixRangesDiffer();
void TreeErrorAmbiguousSiblings();
void TreeErrorBadType();
void TreeErrorBadForm();
void TreeErrorFormCountMismatch();
void TreeErrorTooManyDescriptors();
void TreeErrorIdsNotInOrder();
void TreeErrorAltPathDiffers();
void TreeErrorAltPathSame();
void TreeErrorUnknownMainId();

constexpr uint32_t kMaxPathLevels = 8;

struct PathElem {
    const char* text;
    uint32_t len;
    uint32_t shortLen;
    bool optional;
    int32_t min;
    int32_t max;
};

struct ParsedPath {
    PathElem elems[kMaxPathLevels];
    uint32_t count;
    uint32_t optCount;
};

constexpr bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
constexpr bool IsKeywordChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '*';
}
constexpr char Fold(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

constexpr int32_t ParseNumber(const char* p, size_t& i) {
    if (!IsDigit(p[i])) TreeErrorBadPath();
    int32_t v = 0;
    while (IsDigit(p[i]))
        v = v * 10 + (p[i++] - '0');
    return v;
}

constexpr ParsedPath ParsePath(const char* p) {
    ParsedPath out{};
    size_t i = 0;
    while (p[i] != '\0') {
        if (p[i] == ':') {
            ++i;
            continue;
        }
        bool optional = false;
        if (p[i] == '[' && !IsDigit(p[i + 1])) {
            optional = true;
            ++i;
            if (p[i] == ':') ++i;
        }
        size_t start = i;
        while (IsKeywordChar(p[i]))
            ++i;
        uint32_t len = static_cast<uint32_t>(i - start);
        if (len == 0 || len > 12) TreeErrorBadPath();
        uint32_t shortLen = 0;
        while (shortLen < len && !IsLower(p[start + shortLen]))
            ++shortLen;
        PathElem e{p + start, len, shortLen, optional, -1, -1};
        if (p[i] == '[' && IsDigit(p[i + 1])) {
            ++i;
            e.min = ParseNumber(p, i);
            if (p[i++] != '-') TreeErrorBadPath();
            e.max = ParseNumber(p, i);
            if (p[i++] != ']') TreeErrorBadPath();
        }
        if (optional) {
            if (p[i] == ':') ++i;
            if (p[i++] != ']') TreeErrorBadPath();
        }
        if (out.count == kMaxPathLevels) TreeErrorTooManyLevels();
        out.elems[out.count++] = e;
        if (optional) out.optCount++;
    }
    if (out.count == 0 || out.count > 6) TreeErrorTooManyLevels();
    return out;
}

constexpr bool SameKeyword(const ScpiKeyword& a, const char* text, uint32_t len, uint32_t shortLen) {
    if (a.longLen != len || a.shortLen != shortLen) return false;
    for (uint32_t i = 0; i < len; ++i) {
        if (Fold(a.text[i]) != Fold(text[i])) return false;
    }
    return true;
}

// True when one token could match both keywords.
constexpr bool Ambiguous(const ScpiKeyword& a, const ScpiKeyword& b) {
    const uint32_t lens[2] = {a.shortLen, a.longLen};
    for (uint32_t l : lens) {
        if (l != b.shortLen && l != b.longLen) continue;
        bool equal = true;
        for (uint32_t i = 0; i < l && equal; ++i)
            equal = Fold(a.text[i]) == Fold(b.text[i]);
        if (equal) return true;
    }
    return false;
}

constexpr uint32_t ParseType(const char* t) {
    if (t[0] == 'S' && t[1] == '\0') return kNodeSet;
    if (t[0] == 'Q' && t[1] == '\0') return kNodeQuery;
    if (t[0] == 'S' && t[1] == 'Q' && t[2] == '\0') return kNodeSetQuery;
    TreeErrorBadType();
    return 0;
}

struct BuiltSpec {
    uint32_t id;
    uint32_t setMin;
    uint32_t setMax;
    uint32_t setOff;
    uint32_t queryMin;
    uint32_t queryMax;
    uint32_t queryOff;
};

template <size_t MaxNodes, size_t MaxDescs, size_t Cmds>
struct BuiltCmdSet {
    ScpiTreeNode nodes[MaxNodes];
    uint32_t nodeCount;
    ScpiParamDesc descs[MaxDescs];
    uint32_t descCount;
    BuiltSpec specs[Cmds];
    uint32_t formCount;  // written forms of all commands together
};

template <class Built>
constexpr void ParseForm(const char* f, Built& b, uint32_t& min, uint32_t& max, uint32_t& off) {
    off = b.descCount;
    min = 0;
    max = 0;
    if (f == nullptr || f[0] == '\0') return;
    size_t i = 0;
    min = static_cast<uint32_t>(ParseNumber(f, i));
    max = min;
    if (f[i] == '-') {
        ++i;
        max = static_cast<uint32_t>(ParseNumber(f, i));
    }
    if (f[i] != ':' || f[i + 1] != ' ') TreeErrorBadForm();
    i += 2;
    uint32_t count = 0;
    while (true) {
        ScpiParamDesc d{0, 0, nullptr};
        while (true) {
            char c = f[i];
            if (c == 'N') {
                d.kind |= kParamNumeric;
                ++i;
            } else if (c == 'R') {
                d.kind |= kParamNumeric | kParamReal;
                ++i;
            } else if (c == 'T') {
                d.kind |= kParamString;
                ++i;
            } else if (c == 'B') {
                d.kind |= kParamBlock;
                ++i;
            } else if (c == 'C' && f[i + 1] == 'h') {
                i += 2;
                int32_t n = ParseNumber(f, i);
                if (n < 1 || n > static_cast<int32_t>(kChoiceListCount) || d.choices != nullptr)
                    TreeErrorBadForm();
                d.kind |= kParamChoice;
                d.choices = kChoiceLists[n];
            } else {
                TreeErrorBadForm();
            }
            if (f[i] == '|') {
                ++i;
                continue;
            }
            break;
        }
        if (f[i] == '?') {
            d.kind |= kParamOptional;
            ++i;
        }
        if (b.descCount == sizeof(b.descs) / sizeof(b.descs[0])) TreeErrorTooManyDescriptors();
        b.descs[b.descCount++] = d;
        ++count;
        if (f[i] == '\0') break;
        if (f[i] != ',' || f[i + 1] != ' ') TreeErrorBadForm();
        i += 2;
    }
    if (count != max || min > max) TreeErrorFormCountMismatch();
}

template <class Built>
constexpr uint16_t AddNode(Built& b, uint16_t parent, const PathElem& e) {
    if (b.nodeCount == sizeof(b.nodes) / sizeof(b.nodes[0])) TreeErrorTooManyNodes();
    uint16_t idx = static_cast<uint16_t>(b.nodeCount++);
    ScpiTreeNode& n = b.nodes[idx];
    n.parent = parent;
    n.firstChild = 0;
    n.nextSibling = 0;
    n.cmdId = 0;
    n.type = e.min >= 0 ? kNodeSuffixRequired : kNodeBranch;
    n.keyword = ScpiKeyword{e.shortLen, e.len, e.text};
    n.suffix = ScpiSuffixRange{e.min, e.max};
    // Appended at the end of the parent's list: children are tried in the order they were written.
    uint16_t c = b.nodes[parent].firstChild;
    if (c == 0) {
        b.nodes[parent].firstChild = idx;
    } else {
        while (true) {
            if (Ambiguous(b.nodes[c].keyword, n.keyword)) TreeErrorAmbiguousSiblings();
            if (b.nodes[c].nextSibling == 0) break;
            c = b.nodes[c].nextSibling;
        }
        b.nodes[c].nextSibling = idx;
    }
    return idx;
}

template <class Built>
constexpr void InsertForm(Built& b, const ParsedPath& path, uint32_t omitMask, uint16_t id, uint32_t type) {
    uint16_t cur = path.elems[0].text[0] == '*' ? kScpiCommonRoot : kScpiMainRoot;
    uint32_t opt = 0;
    for (uint32_t k = 0; k < path.count; ++k) {
        const PathElem& e = path.elems[k];
        if (e.optional && ((omitMask >> opt++) & 1u)) continue;
        uint16_t found = 0;
        for (uint16_t c = b.nodes[cur].firstChild; c != 0; c = b.nodes[c].nextSibling) {
            if (SameKeyword(b.nodes[c].keyword, e.text, e.len, e.shortLen)) {
                found = c;
                break;
            }
        }
        if (found != 0) {
            if (b.nodes[found].suffix.min != e.min || b.nodes[found].suffix.max != e.max) {
                TreeErrorSuffixRangesDiffer();
            }
            cur = found;
        } else {
            cur = AddNode(b, cur, e);
        }
    }
    if (b.nodes[cur].cmdId != 0 && b.nodes[cur].cmdId != id) TreeErrorTwoIdsOnOneNode();
    b.nodes[cur].cmdId = id;
    b.nodes[cur].type |= type;
    b.formCount++;
}

template <size_t MaxNodes, size_t MaxDescs, size_t N>
constexpr BuiltCmdSet<MaxNodes, MaxDescs, N> BuildCmdSet(const std::array<ScpiCmdRow, N>& rows) {
    BuiltCmdSet<MaxNodes, MaxDescs, N> b{};
    b.nodeCount = 2;  // the two roots
    b.nodes[kScpiCommonRoot] = ScpiTreeNode{kScpiCommonRoot, 0, 0, 0, kNodeBranch, {0, 0, nullptr}, {-1, -1}};
    b.nodes[kScpiMainRoot] = ScpiTreeNode{kScpiMainRoot, 0, 0, 0, kNodeBranch, {0, 0, nullptr}, {-1, -1}};
    for (size_t r = 0; r < N; ++r) {
        const ScpiCmdRow& row = rows[r];
        if (row.id != r + 1) TreeErrorIdsNotInOrder();
        uint32_t type = ParseType(row.type);
        ParsedPath path = ParsePath(row.path);
        for (uint32_t mask = 0; mask < (1u << path.optCount); ++mask)
            InsertForm(b, path, mask, row.id, type);
        BuiltSpec& s = b.specs[r];
        s.id = row.id;
        ParseForm(row.setForm, b, s.setMin, s.setMax, s.setOff);
        ParseForm(row.queryForm, b, s.queryMin, s.queryMax, s.queryOff);
    }
    return b;
}

template <size_t... N>
constexpr std::array<ScpiCmdRow, (N + ...)> ConcatRows(const ScpiCmdRow (&... parts)[N]) {
    std::array<ScpiCmdRow, (N + ...)> out{};
    size_t pos = 0;
    (([&] {
         for (const ScpiCmdRow& r : parts)
             out[pos++] = r;
     }()),
     ...);
    return out;
}

constexpr bool SameText(const char* a, const char* b) {
    size_t i = 0;
    while (a[i] != '\0' && a[i] == b[i])
        ++i;
    return a[i] == b[i];
}

// Resolves the alternate rows against the main rows: inherited type and forms are filled in.
template <size_t NA, size_t NM>
constexpr std::array<ScpiCmdRow, NA> ResolveAltRows(const ScpiAltCmdRow (&alt)[NA],
                                                    const std::array<ScpiCmdRow, NM>& main) {
    std::array<ScpiCmdRow, NA> out{};
    for (size_t i = 0; i < NA; ++i) {
        const ScpiAltCmdRow& a = alt[i];
        if (a.mainId < 1 || a.mainId > NM) TreeErrorUnknownMainId();
        const ScpiCmdRow& m = main[a.mainId - 1];
        bool same = SameText(a.path, m.path);
        if (a.link == '=' && !same) TreeErrorAltPathDiffers();
        if (a.link != '=' && same) TreeErrorAltPathSame();
        out[i] = ScpiCmdRow{a.id, a.path, a.type != nullptr ? a.type : m.type,
                            a.setForm != nullptr ? a.setForm : m.setForm,
                            a.queryForm != nullptr ? a.queryForm : m.queryForm};
    }
    return out;
}

template <size_t NA>
constexpr std::array<uint16_t, NA + 1> AltToMain(const ScpiAltCmdRow (&alt)[NA]) {
    std::array<uint16_t, NA + 1> out{};
    for (size_t i = 0; i < NA; ++i)
        out[alt[i].id] = alt[i].mainId;
    return out;
}

template <size_t Count, class Built>
constexpr std::array<ScpiTreeNode, Count> CopyNodes(const Built& b) {
    std::array<ScpiTreeNode, Count> out{};
    for (size_t i = 0; i < Count; ++i)
        out[i] = b.nodes[i];
    return out;
}

template <size_t Count, class Built>
constexpr std::array<ScpiParamDesc, Count> CopyDescs(const Built& b) {
    std::array<ScpiParamDesc, Count> out{};
    for (size_t i = 0; i < Count; ++i)
        out[i] = b.descs[i];
    return out;
}

template <size_t N, class Built>
constexpr std::array<ScpiParamSpec, N> LinkSpecs(const Built& b, const ScpiParamDesc* descs) {
    std::array<ScpiParamSpec, N> out{};
    for (size_t i = 0; i < N; ++i) {
        const BuiltSpec& s = b.specs[i];
        out[i] = ScpiParamSpec{s.id,
                               s.setMin,
                               s.setMax,
                               s.setMax ? descs + s.setOff : nullptr,
                               s.queryMin,
                               s.queryMax,
                               s.queryMax ? descs + s.queryOff : nullptr};
    }
    return out;
}

}  // namespace scpi
