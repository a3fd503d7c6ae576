// The stand-in SDK's plug-in frame value classes and settings, as the plug-in
// and the host harness rely on them.
#include <dzfileiosettings.h>
#include <dzguid.h>
#include <dzversion.h>

#include <gtest/gtest.h>

TEST(DzGuidTest, ParsesTheTextFormWithOrWithoutBracesInAnyCase) {
    const DzGuid plain = DzGuid::fromString(QStringLiteral("B9389A3C-0686-4d54-AE15-09AD08C459EE"));
    EXPECT_EQ(plain.data1(), 0xB9389A3Cu);
    EXPECT_EQ(plain.data2(), 0x0686u);
    EXPECT_EQ(plain.data3(), 0x4D54u);
    EXPECT_EQ(plain.data4(0), 0xAEu);
    EXPECT_EQ(plain.data4(1), 0x15u);
    EXPECT_EQ(plain.data4(7), 0xEEu);
    EXPECT_EQ(plain.toString(), QStringLiteral("B9389A3C-0686-4D54-AE15-09AD08C459EE"));

    const DzGuid braced =
        DzGuid::fromString(QStringLiteral("{b9389a3c-0686-4D54-ae15-09ad08c459ee}"));
    EXPECT_EQ(braced, plain);
    EXPECT_TRUE(plain.isValid());
    EXPECT_EQ(DzGuid::fromString(plain.toString()), plain);
    EXPECT_EQ(DzGuid(plain.toQUuid()), plain);
}

TEST(DzGuidTest, RejectsMalformedTextAsNil) {
    for (const char* text : {"", "B9389A3C-0686-4d54-AE15-09AD08C459E", // one digit short
                             "B9389A3C-0686-4d54-AE15-09AD08C459EEE",   // one digit long
                             "B9389A3C 0686-4d54-AE15-09AD08C459EE",    // blank for a dash
                             "B9389A3C-0686-4d54-AE15-09AD08C459EG",    // not hex
                             "{B9389A3C-0686-4d54-AE15-09AD08C459EE",   // unbalanced brace
                             "B9389A3C - 0686 - 4d54 - AE15 - 09AD08C459EE"}) {
        const DzGuid guid = DzGuid::fromString(QString::fromLatin1(text));
        EXPECT_TRUE(guid.isNil()) << text;
        EXPECT_FALSE(guid.isValid()) << text;
    }
    EXPECT_NE(DzGuid::createGuid(), DzGuid::createGuid());
}

TEST(DzVersionTest, PacksFourPartsAndComparesInOrder) {
    const DzVersion sdk = DZ_SDK_VERSION;
    EXPECT_EQ(sdk.getMajorVersion(), 4);
    EXPECT_EQ(sdk.getMinorVersion(), 5);
    EXPECT_EQ(sdk.getRevisionNumber(), 0);
    EXPECT_EQ(sdk.getBuildNumber(), 100);
    EXPECT_EQ(sdk.getVersionString(), QStringLiteral("4.5.0.100"));
    EXPECT_EQ(sdk.getVersionNumber(), (quint64(4) << 48) | (quint64(5) << 32) | 100u);

    // The build number must not outweigh the revision, nor the minor the major.
    EXPECT_LT(DzVersion(4, 5, 0, 65535), DzVersion(4, 5, 1, 0));
    EXPECT_LT(DzVersion(3, 65535, 0, 0), DzVersion(4, 0, 0, 0));
    EXPECT_GE(DZ_VERSION, DZ_MIN_SDK_VERSION);
    EXPECT_EQ(DzVersion(4, 5, 0, 100).getVersionNumber32(), 0x04050064u);
    EXPECT_EQ(DzVersion(0x04050064u), sdk);
}

TEST(DzVersionTest, ParsesDottedText) {
    bool ok = false;
    EXPECT_EQ(DzVersion::fromString(QStringLiteral("3.50.0.31"), &ok), DzVersion(3, 50, 0, 31));
    EXPECT_TRUE(ok);
    EXPECT_EQ(DzVersion::fromString(QStringLiteral("4.5"), &ok), DzVersion(4, 5, 0, 0));
    EXPECT_TRUE(ok);
    for (const char* bad : {"", "4..5", "4.5.0.100.1", "4.x", "70000.1"}) {
        EXPECT_FALSE(DzVersion::fromString(QString::fromLatin1(bad), &ok).isValid()) << bad;
        EXPECT_FALSE(ok) << bad;
    }
}

TEST(DzSettingsTest, AbsentKeysGiveTheDefault) {
    DzFileIOSettings settings;
    EXPECT_EQ(settings.getIntValue(QStringLiteral("missing")), 0);
    EXPECT_EQ(settings.getIntValue(QStringLiteral("missing"), 7), 7);
    EXPECT_DOUBLE_EQ(settings.getFloatValue(QStringLiteral("missing"), 2.5f), 2.5);
    EXPECT_FALSE(settings.getBoolValue(QStringLiteral("missing")));
    EXPECT_EQ(settings.getStringValue(QStringLiteral("missing"), QStringLiteral("d")),
              QStringLiteral("d"));
    EXPECT_EQ(settings.hasKey(QStringLiteral("missing")), 0);
    EXPECT_EQ(settings.getNumValues(), 0);
}

TEST(DzSettingsTest, SettingAgainReplacesValueAndTypeInPlace) {
    DzFileIOSettings settings;
    settings.setIntValue(QStringLiteral("a"), 1);
    settings.setFloatValue(QStringLiteral("b"), 0.25);
    settings.setIntValue(QStringLiteral("c"), 3);
    settings.setFloatValue(QStringLiteral("a"), 1.75);

    ASSERT_EQ(settings.getNumValues(), 3);
    EXPECT_EQ(settings.getKey(0), QStringLiteral("a"));
    EXPECT_EQ(settings.getValueType(0), DzSettings::FloatValue);
    EXPECT_EQ(settings.getKey(1), QStringLiteral("b"));
    EXPECT_EQ(settings.getKey(2), QStringLiteral("c"));
    EXPECT_EQ(settings.getKey(3), QString());
    EXPECT_DOUBLE_EQ(settings.getFloatValue(QStringLiteral("a")), 1.75);
    // Read as an int, a float truncates toward zero.
    EXPECT_EQ(settings.getIntValue(QStringLiteral("a")), 1);
    settings.setFloatValue(QStringLiteral("a"), -1.75);
    EXPECT_EQ(settings.getIntValue(QStringLiteral("a")), -1);
    settings.setFloatValue(QStringLiteral("a"), 1e300);
    EXPECT_EQ(settings.getIntValue(QStringLiteral("a")), std::numeric_limits<int>::max());
    EXPECT_EQ(settings.hasKey(QStringLiteral("b")), 1);

    settings.removeValue(QStringLiteral("b"));
    ASSERT_EQ(settings.getNumValues(), 2);
    EXPECT_EQ(settings.getKey(1), QStringLiteral("c"));
    EXPECT_EQ(settings.getIntValue(QStringLiteral("c")), 3);
    EXPECT_EQ(settings.hasKey(QStringLiteral("b")), 0);
}

TEST(DzSettingsTest, ConvertsBetweenTypesOnlyWhereTheValueIsANumber) {
    DzFileIOSettings settings;
    settings.setStringValue(QStringLiteral("number"), QStringLiteral(" 42 "));
    settings.setStringValue(QStringLiteral("word"), QStringLiteral("forty-two"));
    settings.setBoolValue(QStringLiteral("flag"), true);
    EXPECT_EQ(settings.getIntValue(QStringLiteral("number")), 42);
    EXPECT_EQ(settings.getIntValue(QStringLiteral("word"), -5), -5);
    EXPECT_EQ(settings.getIntValue(QStringLiteral("flag")), 1);
    EXPECT_EQ(settings.getStringValue(QStringLiteral("flag")), QStringLiteral("true"));
    settings.setIntValue(QStringLiteral("zero"), 0);
    EXPECT_FALSE(settings.getBoolValue(QStringLiteral("zero"), true));

    const DzFileIOSettings copy(&settings);
    EXPECT_EQ(copy.getNumValues(), settings.getNumValues());
    EXPECT_EQ(copy.getIntValue(QStringLiteral("number")), 42);
    settings.clear();
    EXPECT_EQ(settings.getNumValues(), 0);
    EXPECT_EQ(copy.getIntValue(QStringLiteral("number")), 42);
}
