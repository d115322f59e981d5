#include "platform/windows/RegistrySettingsStore.hpp"

#include <gtest/gtest.h>
#include <windows.h>

#include "core/OptionStorage.hpp"
#include "core/ProgramTitle.hpp"
#include "platform/windows/support/WideText.hpp"

namespace quarnel {
namespace {

// A registry base of the test's own below HKCU, removed afterwards.
class RegistryStoreTest : public ::testing::Test {
protected:
    const std::string base_ = "Software\\QuarnelTests\\" + std::to_string(::GetCurrentProcessId());
    RegistrySettingsStore store_{base_};
    const std::wstring settingsKey_ = WideFromUtf8(base_ + "\\Kelvaro's Tools\\Quarnel! 2.5");

    ~RegistryStoreTest() override {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, WideFromUtf8("Software\\QuarnelTests").c_str());
    }

    void SetRawValue(DWORD type, const void* data, DWORD bytes) {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, settingsKey_.c_str(), 0, nullptr, 0,
                                    KEY_SET_VALUE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        ::RegSetValueExW(key, L"Options", 0, type, static_cast<const BYTE*>(data), bytes);
        ::RegCloseKey(key);
    }
};

TEST_F(RegistryStoreTest, WritesTheOptionsWhereTheProgramKeepsThem) {
    ASSERT_TRUE(SaveKvSetting(store_, cOptKey, "10100011000110"));

    wchar_t value[64] = {};
    DWORD bytes = sizeof value;
    DWORD type = 0;
    ASSERT_EQ(::RegGetValueW(HKEY_CURRENT_USER, settingsKey_.c_str(), L"Options", RRF_RT_ANY, &type,
                             value, &bytes),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_STREQ(value, L"10100011000110");
    EXPECT_EQ(store_.Read(cAppName, ProgramTitle, cOptKey), "10100011000110");
    const SettingsPlace place = store_.Place(cAppName, ProgramTitle);
    EXPECT_EQ(place.name, "HKEY_CURRENT_USER\\" + base_ + "\\Kelvaro's Tools\\Quarnel! 2.5");
    EXPECT_TRUE(place.readable);
    EXPECT_EQ(RegistrySettingsStore().Place(cAppName, ProgramTitle).name,
              "HKEY_CURRENT_USER\\Software\\Kelvaro's Tools\\Quarnel! 2.5");
}

TEST_F(RegistryStoreTest, MissingEmptyAndGarbageValuesReadAsTheyAre) {
    EXPECT_EQ(store_.Read(cAppName, ProgramTitle, cOptKey), std::nullopt);
    EXPECT_EQ(StoredOptionFlags(store_),
              (OptionFlagArray{0, 1, 0, 1, 0, 1, 0, 1, 0, 0, 0, 1, 1, 0}));

    SetRawValue(REG_SZ, L"", sizeof(wchar_t));
    EXPECT_EQ(store_.Read(cAppName, ProgramTitle, cOptKey), "");
    EXPECT_EQ(StoredOptionFlags(store_), OptionFlagArray{});

    const wchar_t garbage[] = L"1x\u00E49 Quatsch";
    SetRawValue(REG_SZ, garbage, sizeof garbage);
    EXPECT_EQ(store_.Read(cAppName, ProgramTitle, cOptKey),
              "1x\xC3\xA4"
              "9 Quatsch");
    // by character: "ä" is one place
    EXPECT_EQ(StoredOptionFlags(store_),
              (OptionFlagArray{1, 0, 0, 9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    // a character beyond 16 bits, a surrogate pair in the registry, is one place too
    const wchar_t pair[] =
        L"1\xD83D\xDE00"
        L"2";
    SetRawValue(REG_SZ, pair, sizeof pair);
    EXPECT_EQ(StoredOptionFlags(store_),
              (OptionFlagArray{1, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));

    // an empty value stored without its terminating zero
    SetRawValue(REG_SZ, nullptr, 0);
    EXPECT_EQ(store_.Read(cAppName, ProgramTitle, cOptKey), "");
}

TEST_F(RegistryStoreTest, AValueOfAnotherTypeCountsAsMissing) {
    const DWORD number = 1;
    SetRawValue(REG_DWORD, &number, sizeof number);
    EXPECT_EQ(store_.Read(cAppName, ProgramTitle, cOptKey), std::nullopt);
    EXPECT_EQ(StoredOptionFlags(store_),
              (OptionFlagArray{0, 1, 0, 1, 0, 1, 0, 1, 0, 0, 0, 1, 1, 0}));
}

TEST_F(RegistryStoreTest, AKeyThatCannotBeCreatedIsReportedAsNotSaved) {
    // a volatile key takes no lasting subkeys, so the settings key cannot be made below it
    HKEY volatileBase = nullptr;
    ASSERT_EQ(
        ::RegCreateKeyExW(HKEY_CURRENT_USER, WideFromUtf8(base_).c_str(), 0, nullptr,
                          REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &volatileBase, nullptr),
        ERROR_SUCCESS);
    ::RegCloseKey(volatileBase);
    EXPECT_FALSE(SaveKvSetting(store_, cOptKey, "01"));
    EXPECT_EQ(store_.Read(cAppName, ProgramTitle, cOptKey), std::nullopt);
}

}  // namespace
}  // namespace quarnel
