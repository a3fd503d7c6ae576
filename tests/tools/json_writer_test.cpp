// The JSON writer: escaping, UTF-8 from wide text, float precision and
// non-finite floats, and separators in nested output, checked by parsing.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include <nlohmann/json.hpp>

#include "tools/yfx/json_writer.h"

namespace yfx_test {
namespace {

using yfx::JsonWriter;

TEST(JsonWriter, EscapesQuotesBackslashesAndControls) {
    EXPECT_EQ(yfx::jsonQuoted("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(yfx::jsonQuoted(std::string("\n\t\x01\x1f\x7f", 5)),
              "\"\\u000A\\u0009\\u0001\\u001F\\u007F\"");
    const std::string raw("x\0y", 3);
    EXPECT_EQ(nlohmann::json::parse(yfx::jsonQuoted(raw)).get<std::string>(), raw);
}

TEST(JsonWriter, WideTextBecomesUtf8) {
    EXPECT_EQ(yfx::wideToUtf8(L"A\u00e4\u20ac"), "A\xC3\xA4\xE2\x82\xAC");
    // A pair of surrogates is one character; lone ones become U+FFFD.
    const wchar_t pair[] = {0xD83D, 0xDE00, 0};
    EXPECT_EQ(yfx::wideToUtf8(pair), "\xF0\x9F\x98\x80");
    const wchar_t lone[] = {0xDC00, L'a', 0xD800, 0};
    EXPECT_EQ(yfx::wideToUtf8(lone), "\xEF\xBF\xBD"
                                     "a"
                                     "\xEF\xBF\xBD");
    EXPECT_EQ(yfx::wideToUtf8(nullptr), "");
}

TEST(JsonWriter, FloatsKeepTheirValueAndNonFiniteIsNull) {
    for (float f : {0.1f, 1.0f / 3.0f, -1e-38f, 3.4028235e38f, 16777217.0f, -0.0f}) {
        const float back = static_cast<float>(std::stod(yfx::jsonFloat(f)));
        EXPECT_EQ(std::memcmp(&back, &f, sizeof f), 0) << yfx::jsonFloat(f);
    }
    EXPECT_EQ(yfx::jsonFloat(0.1f), "0.100000001");
    EXPECT_EQ(yfx::jsonFloat(std::numeric_limits<float>::infinity()), "null");
    EXPECT_EQ(yfx::jsonFloat(-std::numeric_limits<float>::infinity()), "null");
    EXPECT_EQ(yfx::jsonFloat(std::numeric_limits<float>::quiet_NaN()), "null");
}

TEST(JsonWriter, NestedOutputParses) {
    JsonWriter json;
    json.beginObject();
    json.key("empty");
    json.beginArray();
    json.endArray();
    json.key("list");
    json.beginArray();
    json.value(std::int32_t(-1));
    json.value(std::uint32_t(4000000000u));
    json.beginObject();
    json.key("k");
    json.null();
    json.endObject();
    json.beginArray();
    json.value(true);
    json.endArray();
    json.endArray();
    json.key("name");
    json.wideValue(L"\u00e4");
    json.key("floats");
    const float values[] = {1.5f, std::numeric_limits<float>::quiet_NaN()};
    json.floats(values, 2);
    json.endObject();
    ASSERT_TRUE(json.finish());
    const nlohmann::json parsed = nlohmann::json::parse(json.text());
    EXPECT_EQ(parsed, nlohmann::json::parse(R"({"empty": [], "list": [-1, 4000000000, {"k": null},
                                               [true]], "name": "\u00e4", "floats": [1.5, null]})"));
}

} // namespace
} // namespace yfx_test
