// Turning a payload resource into a file, with the printer-name patching of the GPD and INI.
#include <string>

#include "file_io.h"
#include "patch_rules.h"
#include "scoped_handle.h"
#include "setup.h"

namespace {

constexpr char kPayloadType[] = "OWNER_DATA";
// Holds the unpatched bytes between the two steps of a patched extraction.
constexpr char kPatchTempFile[] = "c:\\temp\\temp.txt";

// The bytes of a payload resource of the program's own module.
struct PayloadBytes {
    const void* pData = nullptr;
    DWORD cbSize = 0;
};

bool LoadPayload(UINT nID, PayloadBytes& payload) {
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

BOOL CSetupApp::ExtractResource(UINT nID, const char* pszPath, BOOL bPatch) {
    PayloadBytes payload;
    if (!LoadPayload(nID, payload)) return FALSE;
    if (!bPatch) return WriteWholeFile(pszPath, payload.pData, payload.cbSize) ? TRUE : FALSE;

    PatchRule rules[kPatchRuleCount];
    if (!MakePatchRules(g_szPrinterName, rules)) return FALSE;
    if (!WriteWholeFile(kPatchTempFile, payload.pData, payload.cbSize)) return FALSE;
    return PatchTextFile(kPatchTempFile, pszPath, rules, kPatchRuleCount);
}

BOOL CSetupApp::PatchTextFile(const char* pszSource, const char* pszDestination,
                              const PatchRule* pRules, int nCount) {
    CFileHandle destination(::CreateFileA(pszDestination, GENERIC_WRITE, 0, nullptr,
                                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!destination.IsValid()) return FALSE;
    std::string strSource;
    if (!ReadWholeFile(pszSource, strSource)) return FALSE;
    const std::string strPatched = PatchText(strSource, pRules, nCount);
    return WriteFileFully(destination.GetUnsafe(), strPatched.data(),
                          static_cast<DWORD>(strPatched.size()))
               ? TRUE
               : FALSE;
}
