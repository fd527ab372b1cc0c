#include "payload/extract.h"

#include <windows.h>

#include <string>

#include "framework/file_io.h"
#include "framework/scoped_handle.h"
#include "payload/install_constants.h"
#include "payload/patch_rules.h"

namespace {

constexpr char kPayloadType[] = "OWNER_DATA";

}  // namespace

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

bool ExtractPayload(unsigned nID, const char* pszPath) {
    PayloadBytes payload;
    // Never written through a link someone planted under its name (beside setup.exe, say).
    return LoadPayload(nID, payload) && WriteNewFile(pszPath, payload.pData, payload.cbSize);
}

bool PatchedPayloadText(unsigned nID, std::string_view printerName, std::string& strPatched) {
    strPatched.clear();
    PayloadBytes payload;
    if (!LoadPayload(nID, payload)) return false;
    PatchRule rules[kPatchRuleCount];
    if (!MakePatchRules(printerName, rules)) return false;
    // Any local user may create files in "c:\\temp": never written through a link planted there.
    if (!WriteNewFile(kPatchTempFile, payload.pData, payload.cbSize)) return false;
    // Patched from the mapped resource, not from the temporary file: anyone may write that.
    const std::string_view source(static_cast<const char*>(payload.pData), payload.cbSize);
    strPatched = PatchText(source, rules, kPatchRuleCount);
    return true;
}

bool ExtractPatchedPayload(unsigned nID, const char* pszPath, std::string_view printerName) {
    std::string strPatched;
    return PatchedPayloadText(nID, printerName, strPatched) &&
           WriteNewFile(pszPath, strPatched.data(), static_cast<DWORD>(strPatched.size()));
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
