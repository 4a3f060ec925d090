// The command trees of both sets: every written form of every command reaches its id through the
// parser, with parameters made from its own spec (keyword and choice matching: the parser table); unit
// exponents.
#include "scpi/parser/scpi_tree.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>

#include "tests/scpi/scpi_channel_fixture.h"

namespace {

using scpitest::FakeChannel;

struct Form {
    std::string header;  // short forms, suffix at its maximum
    uint32_t id;
    uint32_t type;
};

void CollectForms(const ScpiCmdSetDescriptor& set, uint32_t node, const std::string& prefix,
                  std::vector<Form>* out) {
    const ScpiTreeNode& n = set.nodes[node];
    if (n.cmdId != 0) out->push_back(Form{prefix, n.cmdId, n.type});
    for (uint32_t c = n.firstChild; c != 0; c = set.nodes[c].nextSibling) {
        const ScpiTreeNode& child = set.nodes[c];
        std::string kw(child.keyword.text, child.keyword.shortLen);
        if (child.suffix.min >= 0) kw += std::to_string(child.suffix.max);
        CollectForms(set, c, prefix.empty() || node == set.commonRoot ? kw : prefix + ":" + kw, out);
    }
}

std::vector<Form> AllForms(const ScpiCmdSetDescriptor& set) {
    std::vector<Form> forms;
    CollectForms(set, set.commonRoot, "", &forms);
    CollectForms(set, set.mainRoot, "", &forms);
    return forms;
}

// A valid token for a descriptor: a number where numbers go, else the first choice, a string, a block.
std::string TokenFor(const ScpiParamDesc& d) {
    if (d.kind & kParamNumeric) return "1";
    if (d.kind & kParamChoice) return std::string(d.choices[0].keyword.text, d.choices[0].keyword.longLen);
    if (d.kind & kParamString) return "'x'";
    if (d.kind & kParamBlock) return "#13abc";
    return "?";
}

std::string ParamsFor(uint32_t min, const ScpiParamDesc* desc) {
    std::string out;
    for (uint32_t i = 0; i < min; ++i)
        out += (i ? "," : " ") + TokenFor(desc[i]);
    return out;
}

void CheckEveryForm(uint32_t selector, size_t commands, size_t forms) {
    g_ScpiCmdSetSel.store(selector);
    const ScpiCmdSetDescriptor& set = *g_ScpiCmdSets[selector].desc;
    std::vector<Form> all = AllForms(set);
    EXPECT_EQ(all.size(), forms);
    std::set<uint32_t> ids;
    FakeChannel ch;
    for (const Form& f : all) {
        ids.insert(f.id);
        const ScpiParamSpec* spec = scpi::ParamSpecOf(&set, f.id);
        ASSERT_NE(spec, nullptr);
        std::vector<std::string> messages;
        if (f.type & kNodeSet) messages.push_back(f.header + ParamsFor(spec->setMin, spec->setDesc) + "\n");
        if (f.type & kNodeQuery)
            messages.push_back(f.header + "?" + ParamsFor(spec->queryMin, spec->queryDesc) + "\n");
        for (const std::string& m : messages) {
            ch.Reset();
            ch.Send(m);
            EXPECT_EQ(ch.PopErrors(), "") << m;
            ASSERT_EQ(ch.commands.size(), 1u) << m;
            EXPECT_EQ(ch.commands[0].id, f.id) << m;
        }
    }
    EXPECT_EQ(ids.size(), commands);
    EXPECT_EQ(*ids.begin(), 1u);
    EXPECT_EQ(*ids.rbegin(), commands);
    g_ScpiCmdSetSel.store(0);
}

TEST(CommandTree, EveryFormOfBothSetsReachesItsId) {
    CheckEveryForm(0, scpi::kMainCmdCount, 642);
    CheckEveryForm(1, scpi::kAltCmdCount, 342);
}

TEST(Units, TablesGiveExponentsAsWritten) {
    // {table, unit, exponent (99: not found, the exponent left as it was)}: "m" is milli, "ma" and
    // "mohm"/"mhz" mega; a table outside 1-11 has no units.
    const std::tuple<uint32_t, std::string, int32_t> cases[] = {
        {1, "mv", -3},  {1, "mav", 6},   {3, "mohm", 6}, {9, "mhz", 6},
        {10, "ts", 99}, {1, "volt", 99}, {0, "v", 99},   {12, "v", 99},
    };
    for (const auto& [table, unit, exponent] : cases) {
        int32_t e = 99;
        const auto len = static_cast<uint32_t>(unit.size());
        EXPECT_EQ(scpi::UnitLookup(table, unit.c_str(), len, &e), exponent != 99) << table << " " << unit;
        EXPECT_EQ(e, exponent) << unit;
    }
}

}  // namespace
