#include "app/dialoghistory.h"

#include <windows.h>

#include <array>
#include <string>
#include <vector>

namespace listora {

namespace {

// Where QSettings(UserScope, "QtProject") keeps the dialog's group, outermost first.
const std::array<const wchar_t *, 3> kKeys = {
    L"Software\\QtProject",
    L"Software\\QtProject\\OrganizationDefaults",
    L"Software\\QtProject\\OrganizationDefaults\\FileDialog",
};

struct Value {
    std::wstring name;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

std::vector<Value> valuesOf(HKEY key)
{
    DWORD count = 0, longestName = 0, longestData = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longestName,
                         &longestData, nullptr, nullptr) != ERROR_SUCCESS)
        return {};
    std::vector<Value> values;
    std::vector<wchar_t> name(longestName + 1);
    std::vector<BYTE> data(longestData);
    for (DWORD i = 0; i < count; ++i) {
        DWORD nameLength = DWORD(name.size());
        DWORD dataLength = DWORD(data.size());
        Value value;
        if (RegEnumValueW(key, i, name.data(), &nameLength, nullptr, &value.type, data.data(), &dataLength)
            != ERROR_SUCCESS)
            continue;
        value.name.assign(name.data(), nameLength);
        value.data.assign(data.begin(), data.begin() + dataLength);
        values.push_back(std::move(value));
    }
    return values;
}

} // namespace

struct DialogHistoryGuard::Saved {
    size_t existing = 0; // how many of kKeys were there, outermost first
    std::vector<Value> values;
};

DialogHistoryGuard::DialogHistoryGuard() : saved_(std::make_unique<Saved>())
{
    for (const wchar_t *path : kKeys) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
            break;
        if (++saved_->existing == kKeys.size())
            saved_->values = valuesOf(key);
        RegCloseKey(key);
    }
}

DialogHistoryGuard::~DialogHistoryGuard()
{
    if (saved_->existing < kKeys.size()) {
        // Whatever Qt made from the first key that was missing down is Qt's alone.
        RegDeleteTreeW(HKEY_CURRENT_USER, kKeys[saved_->existing]);
        return;
    }
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kKeys.back(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return;
    RegDeleteTreeW(key, nullptr); // empties the key, keeping it
    for (const Value &value : saved_->values)
        RegSetValueExW(key, value.name.c_str(), 0, value.type, value.data.data(), DWORD(value.data.size()));
    RegCloseKey(key);
}

} // namespace listora
