// Web keys: the query's code and delta, the key mailbox's one slot, and nothing posted for a refused query.
#include "remote/web/web_key.h"

#include <gtest/gtest.h>

#include "drivers/panel_link.h"

namespace {

TEST(WebKeyTest, QueryTakesCodeOneTo255AndDeltaMinus128To127) {
    struct Case {
        const char* query;
        bool ok;
        int code, delta;
    } cases[] = {
        {"code=1", true, 1, 0},         {"code=255", true, 255, 0},    {"code=213&delta=-128", true, 213, -128},
        {"delta=127&code=79", true, 79, 127}, {"x=5&code=80", true, 80, 0}, {"code=0", false, 0, 0},
        {"code=256", false, 0, 0},      {"code=300", false, 0, 0},     {"code=79&delta=128", false, 0, 0},
        {"code=79&delta=-129", false, 0, 0}, {"", false, 0, 0},        {"delta=1", false, 0, 0},
        {"code=", false, 0, 0},         {"code=7x", false, 0, 0},      {"code=79&code=80", false, 0, 0},
        {"code=00000079", false, 0, 0}, {"code=-", false, 0, 0},       {"code", false, 0, 0},
    };
    for (const Case& c : cases) {
        web::WebKey key{};
        ASSERT_EQ(web::ParseWebKeyQuery(c.query, &key), c.ok) << c.query;
        if (!c.ok) continue;
        EXPECT_EQ(key.code, c.code) << c.query;
        EXPECT_EQ(key.delta, c.delta) << c.query;
    }
}

TEST(WebKeyTest, KeyGoesToTheMailboxWithItsClassAFullMailboxAnswers503AndARefusedQueryPostsNothing) {
    KeyEventBoxInit();
    EXPECT_EQ(web::WebKeyPost("code=300"), 400);
    uint32_t ev = 0;
    EXPECT_NE(KeyEventTake(&ev), 0);

    EXPECT_EQ(web::WebKeyPost("code=213&delta=-3"), 200);
    EXPECT_EQ(web::WebKeyPost("code=79"), 503);
    ASSERT_EQ(KeyEventTake(&ev), 0);
    EXPECT_EQ(KeyEventCode(ev), 213);
    EXPECT_EQ(KeyEventDelta(ev), -3);
    EXPECT_EQ(KeyEventClass(ev), 4);  // cursor keys and knob

    EXPECT_EQ(web::WebKeyPost("code=79"), 200);
    ASSERT_EQ(KeyEventTake(&ev), 0);
    EXPECT_EQ(KeyEventCode(ev), 'O');
    EXPECT_EQ(KeyEventClass(ev), 2);  // parameter shortcut keys
}

}  // namespace
