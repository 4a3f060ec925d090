// Parse state 1: the header's levels are matched against the command tree, from the common root, the
// main root, or the node the previous command of the message left.
#include "scpi/parser/scpi_errors.h"
#include "scpi/parser/scpi_parser_steps.h"

namespace scpi {
namespace {

int64_t SuffixValue(const ScpiParseState* ps, uint32_t level) {
    if (ps->suffixLen[level] == 0) return -1;
    int64_t v = 0;
    for (uint32_t i = 0; i < ps->suffixLen[level]; ++i)
        v = v * 10 + (ps->suffix[level][i] - '0');
    return v;
}

}  // namespace

ScpiForm FormOf(const ScpiInterface* ifc) {
    const ScpiCmdSetDescriptor* set = CmdSetDesc(ifc);
    const ScpiParseState* ps = ifc->parse;
    const ScpiParamSpec* spec =
        ps->cmdNode < set->nodeCount ? ParamSpecOf(set, set->nodes[ps->cmdNode].cmdId) : nullptr;
    if (spec == nullptr) return ScpiForm{0, 0, nullptr};
    if (ps->hdrFlags & kHdrQuery) return ScpiForm{spec->queryMin, spec->queryMax, spec->queryDesc};
    return ScpiForm{spec->setMin, spec->setMax, spec->setDesc};
}

void ClearLexer(ScpiLexer* lx) {
    lx->numFlags = 0;
    lx->numFlags2 = 0;
    lx->tokClass = 0;
    lx->tokClass2 = 0;
    lx->tokLen = 0;
    lx->unitLen = 0;
    lx->token[0] = '\0';
    lx->unit[0] = '\0';
    lx->blockDigits = 0;
    lx->blockLen = 0;
    lx->blockGot = 0;
    lx->itemOffset = 0;
    lx->intValue = 0;
    lx->realValue = 0.0;
}

void LookupStep(ScpiInterface* ifc) {
    ScpiParseState* ps = ifc->parse;
    const ScpiCmdSetDescriptor* set = CmdSetDesc(ifc);
    const ScpiTreeNode* nodes = set->nodes;

    uint32_t node;
    if (ps->hdrFlags & kHdrCommon) {
        node = set->commonRoot;
    } else if (ps->hdrFlags & kHdrRoot) {
        node = set->mainRoot;
    } else {
        node = ps->curNode < set->nodeCount ? ps->curNode : set->mainRoot;
    }

    bool found = true;
    for (uint32_t level = 0; level < ps->levelCount && level < kScpiMaxLevels; ++level) {
        ps->levelIdx = level;
        int64_t suffix = SuffixValue(ps, level);
        uint32_t match = 0;
        for (uint32_t c = nodes[node].firstChild; c != 0; c = nodes[c].nextSibling) {
            if (KeywordMatch(nodes[c].keyword, ps->keyword[level], ps->keywordLen[level])) {
                match = c;
                break;
            }
        }
        if (match == 0) {
            SetErrorOnce(ps, kScpiErrUndefinedHeader);
            found = false;
            break;
        }
        const ScpiTreeNode& n = nodes[match];
        if (suffix >= 0) {
            if (!(n.type & (kNodeSuffixRequired | kNodeSuffixOptional))) {
                SetErrorOnce(ps, kScpiErrUndefinedHeader);
            } else if (suffix < n.suffix.min || suffix > n.suffix.max) {
                SetErrorOnce(ps, kScpiErrSuffixOutOfRange);
            }
        } else if ((n.type & kNodeSuffixRequired) && !(n.type & kNodeSuffixOptional)) {
            SetErrorOnce(ps, kScpiErrInvalidSuffix);
        }
        ps->suffixVal[level] = suffix > INT32_MAX ? INT32_MAX : static_cast<int32_t>(suffix);
        node = match;
    }
    if (found) {
        if (nodes[node].cmdId == 0) {
            SetErrorOnce(ps, kScpiErrUndefinedHeader);
        } else if ((ps->hdrFlags & kHdrQuery) && !(nodes[node].type & kNodeQuery)) {
            SetErrorOnce(ps, kScpiErrUndefinedHeader);
        }
    }
    ps->cmdNode = node;
    if (ps->errIndex != 0) {
        ps->state = kParseCommandDone;
        return;
    }

    // A header from the root starts a new path: suffix values kept from earlier commands of the
    // message belong to another branch. (A common command leaves the path and its values alone.)
    if ((ps->hdrFlags & kHdrRoot) && ifc->cmd != nullptr) ifc->cmd->suffixCount = 0;

    ScpiForm form = FormOf(ifc);
    if (!(ps->hdrFlags & kHdrParams)) {
        if (form.max != 0 && (form.desc == nullptr || !(form.desc[0].kind & kParamOptional))) {
            SetErrorOnce(ps, kScpiErrMissingParam);
        }
        ps->state = kParseCommandDone;
        return;
    }
    ClearLexer(ifc->lexer);
    if (ifc->cmd != nullptr) {
        ifc->cmd->paramCount = 0;
        ifc->cmd->dataUsed = 0;
    }
    ps->state = kParseParams;
}

}  // namespace scpi
