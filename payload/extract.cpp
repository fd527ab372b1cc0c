#include "payload/extract.h"

#include <windows.h>

#include <string>

#include "framework/file_io.h"
#include "framework/scoped_handle.h"
#include "payload/install_constants.h"
#include "payload/patch_rules.h"

namespace {

constexpr char kPayloadType[] = "OWNER_DATA";

// The bytes of a payload resource of the program's own module.
struct PayloadBytes {
    const void* pData = nullptr;
    DWORD cbSize = 0;
};

bool LoadPayload(unsigned nID, PayloadBytes& payload) {
    HMODULE hModule = ::GetModuleHandleA(nullptr);
    HRSRC hInfo = ::FindResourceA(hModule, MAKEINTRESOURCEA(LOWORD(nID)), kPayloadType);
    if (!hInfo) return false;
    HGLOBAL hData = ::LoadResource(hModule, hInfo);
    if (!hData) return false;
    payload.cbSize = ::SizeofResource(hModule, hInfo);
    // An empty resource is a valid empty file: it needs no bytes.
    payload.pData = payload.cbSize ? ::LockResource(hData) : nullptr;
    return payload.cbSize == 0 || payload.pData != nullptr;
}

}  // namespace

bool ExtractPayload(unsigned nID, const char* pszPath) {
    PayloadBytes payload;
    return LoadPayload(nID, payload) && WriteWholeFile(pszPath, payload.pData, payload.cbSize);
}

bool ExtractPatchedPayload(unsigned nID, const char* pszPath, std::string_view printerName) {
    PayloadBytes payload;
    if (!LoadPayload(nID, payload)) return false;
    PatchRule rules[kPatchRuleCount];
    if (!MakePatchRules(printerName, rules)) return false;
    if (!WriteWholeFile(kPatchTempFile, payload.pData, payload.cbSize)) return false;
    return PatchTextFile(kPatchTempFile, pszPath, rules, kPatchRuleCount);
}

bool PatchTextFile(const char* pszSource, const char* pszDestination, const PatchRule* pRules, int nCount) {
    CFileHandle destination(::CreateFileA(pszDestination, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!destination.IsValid()) return false;
    std::string strSource;
    if (!ReadWholeFile(pszSource, strSource)) return false;
    const std::string strPatched = PatchText(strSource, pRules, nCount);
    return WriteFileFully(destination.GetUnsafe(), strPatched.data(), static_cast<DWORD>(strPatched.size()));
}
