#pragma once
// What the parser of one interface keeps between bytes: the header state (keywords and numeric
// suffixes per level), the lexer of the parameter being read, and the command block in which a
// recognised command waits for execution with its typed parameters.
#include <cstdint>

constexpr uint32_t kScpiMaxLevels = 6;
constexpr uint32_t kScpiKeywordSize = 12;
constexpr uint32_t kScpiTokenSize = 256;
constexpr uint32_t kScpiUnitSize = 12;
constexpr uint32_t kScpiMaxParams = 100;
constexpr uint32_t kScpiDataAreaSize = 0x180400;  // 1,573,888 bytes for all items of one command
constexpr uint32_t kScpiBytesPerStep = 64;
constexpr uint32_t kScpiBlockChunk = 512;

// Parse states; 0-3 belong to the parser, the rest to the channel's execution loop.
enum ScpiParseStep : uint32_t {
    kParseHeader = 0,
    kParseLookup = 1,
    kParseParams = 2,
    kParseParamDone = 3,
    kParseCommandDone = 4,
    kParseExecute = 5,
    kParsePosted = 6,
    kParseSkip = 7,
    kParseFinished = 8,
    kParseDeferred = 9
};

enum ScpiHeaderFlag : uint8_t {
    kHdrRoot = 1u << 0,       // the header began with ":"
    kHdrCommon = 1u << 1,     // "*" command
    kHdrColon = 1u << 2,      // a ":" was just read
    kHdrQuery = 1u << 3,      // "?"
    kHdrParams = 1u << 4,     // parameters follow
    kHdrSeparator = 1u << 5,  // white space or "," seen before the token
    kHdrEnd = 1u << 6,        // line feed read: end of message
    kHdrQuoteSkip = 1u << 7   // a quote opened while an error was pending
};

enum ScpiQuoteFlag : uint8_t {
    kQsDouble = 1u << 0,  // inside "..." while skipping
    kQsSingle = 1u << 1,  // inside '...' while skipping
    kQsHashSkipped = 1u << 2,  // a "#" skipped: a block's bytes may follow, and their "?" are no queries
    kQsSuffix = 1u << 6,  // digits are being collected as the numeric suffix
    kQsLetterAfterDigits = 1u << 7
};

struct ScpiParseState {
    uint32_t state;
    uint32_t kwLen;       // keyword being collected
    uint32_t levelCount;  // completed header levels
    uint8_t hdrFlags;
    uint8_t qsFlags;
    uint8_t errIndex;
    uint32_t levelIdx;
    char keyword[kScpiMaxLevels][kScpiKeywordSize];
    uint32_t keywordLen[kScpiMaxLevels];
    char suffix[kScpiMaxLevels][kScpiKeywordSize];
    uint32_t suffixLen[kScpiMaxLevels];
    int32_t suffixVal[kScpiMaxLevels];
    uint32_t curNode;  // the node the next header is relative to
    uint32_t cmdNode;  // the node of the command found by the lookup
    uint32_t skippedQueries;  // queries in the part of the message skipped after this command failed
};

// Number flags of the lexer.
enum ScpiNumFlag : uint8_t {
    kNumSign = 1u << 0,
    kNumMantissa = 1u << 1,
    kNumPoint = 1u << 2,
    kNumFraction = 1u << 3,
    kNumWsAfter = 1u << 4,  // white space after the number (or after a word, string or non-decimal)
    kNumExpMark = 1u << 5,
    kNumWsAfterMark = 1u << 6,
    kNumExpSign = 1u << 7
};

enum ScpiNumFlag2 : uint8_t {
    kNumExpDigits = 1u << 0,
    kNumWsAfterExp = 1u << 1,
    kNumUnit = 1u << 2,
    kNumDqShift = 3,  // 2 bits: 1 inside a "..." string, 2 its closing quote just read
    kNumSqShift = 5,  // 2 bits: the same for '...'
    kNumWsAfterUnit = 1u << 7
};

enum ScpiTokenClass : uint8_t {
    kTokDecimal = 1u << 0,
    kTokChar = 1u << 1,
    kTokString = 1u << 2,
    kTokBinary = 1u << 3,
    kTokOctal = 1u << 4,
    kTokHex = 1u << 5,
    kTokDefBlock = 1u << 6,
    kTokIndefBlock = 1u << 7
};

enum ScpiTokenClass2 : uint8_t {
    kTok2Hash = 1u << 0,  // "#" read, its next character pending
    kTok2Expression = 1u << 1,
    kTok2BlockDigits = 1u << 2,  // reading the block's length digits
    kTok2BlockDrop = 1u << 3     // discarding the bytes of a refused block
};

struct ScpiLexer {
    uint8_t numFlags;
    uint8_t numFlags2;
    uint8_t tokClass;
    uint8_t tokClass2;
    uint32_t tokLen;  // after conversion: the size of the value
    uint32_t unitLen;
    char token[kScpiTokenSize];
    char unit[kScpiUnitSize];
    uint32_t blockDigits;
    uint32_t blockLen;    // declared length
    uint32_t blockGot;    // bytes received (length digits while they are read, then data bytes)
    uint32_t itemOffset;  // where the block being read starts in the data area
    int32_t intValue;
    double realValue;
};

// Parameter item types.
enum ScpiItemType : uint8_t {
    kItemOmitted = 0,
    kItemInt = 1,
    kItemChoice = 2,
    kItemString = 4,
    kItemReal = 8,
    kItemExpression = 16,
    kItemBlock = 32
};

struct ScpiParamItem {
    uint8_t type;
    uint32_t length;
    uint8_t* data;  // into the command block's data area; starts on a 4-byte boundary
};

struct ScpiCmdBlock {
    uint32_t cmdId;
    uint32_t channelId;
    uint32_t query;
    uint32_t paramCount;
    uint32_t dataUsed;
    uint32_t suffixCount;
    int32_t suffix[kScpiMaxLevels];  // header suffix values in header order, -1 for none
    ScpiParamItem items[kScpiMaxParams];
    alignas(8) uint8_t data[kScpiDataAreaSize];
};
