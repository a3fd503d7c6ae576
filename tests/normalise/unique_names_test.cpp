// Unique names per record kind, checked against the plain algorithm.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "doc_builders.h"
#include "normalise/unique_names.h"

using namespace yfx;
using passtest::ansiName;
using passtest::wideName;

namespace {

// The plain algorithm: compare with every other record, at most 101 times;
// digits that would not fit replace the name's last characters.
void referenceUniqueNames(std::vector<NamePair>& names) {
    long long counter = 0;
    for (std::size_t i = 0; i < names.size(); ++i) {
        for (int attempt = 0; attempt < 101; ++attempt) {
            bool clash = false;
            for (std::size_t j = 0; j < names.size() && !clash; ++j) {
                clash = j != i && std::wcscmp(names[i].wide, names[j].wide) == 0;
            }
            if (!clash) {
                break;
            }
            char digits[24];
            std::snprintf(digits, sizeof digits, "%lld", counter++);
            std::string text = names[i].ansi;
            text = text.substr(0, std::min(text.size(), 259 - std::strlen(digits))) + digits;
            names[i].setAnsi(text.c_str());
        }
    }
}

std::vector<std::string> lightNames(SceneDoc& doc, std::vector<std::string> names) {
    doc.lights.clear();
    for (const std::string& name : names) {
        addLight(doc)->name.setAnsi(name.c_str());
    }
    normalise::makeNamesUnique(doc);
    std::vector<std::string> out;
    for (const DocLight& light : doc.lights) {
        const std::string ansi = ansiName(light.name);
        EXPECT_EQ(wideName(light.name), std::wstring(ansi.begin(), ansi.end()));
        out.push_back(ansi);
    }
    return out;
}

} // namespace

TEST(UniqueNames, OnlyTheEarlierOfEqualNamesChanges) {
    SceneDoc doc;
    using Names = std::vector<std::string>;
    EXPECT_EQ(lightNames(doc, {"Box", "Box", "Box"}), (Names{"Box0", "Box1", "Box"}));
    EXPECT_EQ(lightNames(doc, {"A", "A", "A0"}), (Names{"A01", "A", "A0"}));
    EXPECT_EQ(lightNames(doc, {"", "", "x"}), (Names{"0", "", "x"}));
}

TEST(UniqueNames, EachKindCountsFromZeroAndNamesAtCapacityGiveTheirEndToTheDigits) {
    SceneDoc doc;
    for (int i = 0; i < 2; ++i) {
        addBone(doc)->name.setAnsi("Hip");
        addLight(doc)->name.setAnsi("Hip");
        addUnassignedMaterial(doc);
    }
    doc.cameras.resize(2);
    normalise::makeNamesUnique(doc);
    EXPECT_EQ(ansiName(doc.lights[0].name), "Hip0");
    EXPECT_EQ(ansiName(doc.bones[0].name), "Hip0");
    EXPECT_EQ(ansiName(doc.materials[0].name), "Unassigned0");
    EXPECT_EQ(ansiName(doc.cameras[0].name), "0");

    NamePair name;
    name.setAnsi(std::string(258, 'n').c_str());
    normalise::appendNumberToName(name, 123);
    EXPECT_EQ(ansiName(name), std::string(256, 'n') + "123");
    EXPECT_EQ(wideName(name), std::wstring(256, L'n') + L"123");
}

TEST(UniqueNames, MatchesThePlainAlgorithmOnManyCollisions) {
    std::mt19937 random(20240611);
    for (int round = 0; round < 4; ++round) {
        std::vector<std::string> texts;
        // A chain that needs more than 101 attempts: "C", "C", then "C0",
        // "C01", "C012", ... so every appended number finds its name taken.
        texts.push_back("C");
        texts.push_back("C");
        std::string chain = "C";
        for (int k = 0; k <= 101; ++k) {
            chain += std::to_string(k);
            texts.push_back(chain);
        }
        const std::string longBase(round == 3 ? 258 : 2, 'L');
        for (int i = 0; i < 2500; ++i) {
            const int pick = int(random() % 6);
            std::string text = pick == 0 ? longBase : std::string(1, char('a' + random() % 3));
            if (pick >= 3) {
                text += std::to_string(random() % 40);
            }
            texts.push_back(text);
        }
        std::shuffle(texts.begin() + 2 + 102, texts.end(), random);

        SceneDoc doc;
        std::vector<NamePair> expected(texts.size());
        for (std::size_t i = 0; i < texts.size(); ++i) {
            addBone(doc)->name.setAnsi(texts[i].c_str());
            expected[i].setAnsi(texts[i].c_str());
        }
        referenceUniqueNames(expected);
        normalise::makeNamesUnique(doc);
        for (std::size_t i = 0; i < texts.size(); ++i) {
            ASSERT_EQ(wideName(doc.bones[i].name), wideName(expected[i])) << "bone " << i;
            ASSERT_EQ(ansiName(doc.bones[i].name), ansiName(expected[i])) << "bone " << i;
        }
        // The chain's first record gave up after 101 numbers, still clashing.
        EXPECT_EQ(ansiName(doc.bones[0].name), chain.substr(0, chain.size() - 3));
    }
}
