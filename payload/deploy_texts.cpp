#include "payload/deploy_texts.h"

#include <cstdio>
#include <vector>

namespace {

struct DeployTexts {
    const char* pszUsage;  // %s: the program file's name
    const char* pszPortUsage;  // setup.exe's /PORT= line, added before the last
    const char* pszAlreadyRunning;
};

constexpr DeployTexts kTexts[] = {
    {"Usage: %s [/S] [/LOG=path] [/?]\r\n\r\n/S, /VERYSILENT, /quiet\tno window and no message box\r\n"
     "/SUPPRESSMSGBOXES, /NORESTART\taccepted\r\n/LOG=path\twrite a log of every step\r\n/?\tthis text",
     "/PORT=USB001, COM3:, LPT1: or IP:address[:port]\tthe printer's port\r\n",
     "Another setup or uninstaller of the Q73 printer is running. Try again when it has finished."},
    // "用法: %s [/S] [/LOG=路径] [/?]" ... "不显示任何窗口和消息框", "可以使用", "把每个步骤写入日志",
    // "显示本说明"; "... 或 IP:address[:port]", "打印机的端口";
    // "另一个 Q73 打印机的安装或卸载程序正在运行。请在它结束后再试。"
    {"\xD3\xC3\xB7\xA8: %s [/S] [/LOG=\xC2\xB7\xBE\xB6] [/?]\r\n\r\n/S, /VERYSILENT, /quiet\t\xB2\xBB\xCF\xD4\xCA\xBE"
     "\xC8\xCE\xBA\xCE\xB4\xB0\xBF\xDA\xBA\xCD\xCF\xFB\xCF\xA2\xBF\xF2\r\n/SUPPRESSMSGBOXES, /NORESTART\t\xBF\xC9\xD2"
     "\xD4\xCA\xB9\xD3\xC3\r\n/LOG=\xC2\xB7\xBE\xB6\t\xB0\xD1\xC3\xBF\xB8\xF6\xB2\xBD\xD6\xE8\xD0\xB4\xC8\xEB\xC8\xD5"
     "\xD6\xBE\r\n/?\t\xCF\xD4\xCA\xBE\xB1\xBE\xCB\xB5\xC3\xF7",
     "/PORT=USB001, COM3:, LPT1: \xBB\xF2 IP:address[:port]\t\xB4\xF2\xD3\xA1\xBB\xFA\xB5\xC4\xB6\xCB\xBF\xDA\r\n",
     "\xC1\xED\xD2\xBB\xB8\xF6 Q73 \xB4\xF2\xD3\xA1\xBB\xFA\xB5\xC4\xB0\xB2\xD7\xB0\xBB\xF2\xD0\xB6\xD4\xD8\xB3\xCC"
     "\xD0\xF2\xD5\xFD\xD4\xDA\xD4\xCB\xD0\xD0\xA1\xA3\xC7\xEB\xD4\xDA\xCB\xFC\xBD\xE1\xCA\xF8\xBA\xF3\xD4\xD9\xCA"
     "\xD4\xA1\xA3"},
    // "用法: %s [/S] [/LOG=路徑] [/?]" ... "不顯示任何視窗和訊息框", "可以使用", "把每個步驟寫入日誌",
    // "顯示本說明"; "... 或 IP:address[:port]", "印表機的連接埠";
    // "另一個 Q73 印表機的安裝或解除安裝程式正在執行。請在它結束後再試。"
    {"\xA5\xCE\xAAk: %s [/S] [/LOG=\xB8\xF4\xAE|] [/?]\r\n\r\n/S, /VERYSILENT, /quiet\t\xA4\xA3\xC5\xE3\xA5\xDC"
     "\xA5\xF4\xA6\xF3\xB5\xF8\xB5\xA1\xA9M\xB0T\xAE\xA7\xAE\xD8\r\n/SUPPRESSMSGBOXES, /NORESTART\t\xA5i\xA5H\xA8"
     "\xCF\xA5\xCE\r\n/LOG=\xB8\xF4\xAE|\t\xA7\xE2\xA8\x43\xAD\xD3\xA8\x42\xC6J\xBCg\xA4J\xA4\xE9\xBBx\r\n/?\t\xC5"
     "\xE3\xA5\xDC\xA5\xBB\xBB\xA1\xA9\xFA",
     "/PORT=USB001, COM3:, LPT1: \xA9\xCE IP:address[:port]\t\xA6\x4C\xAA\xED\xBE\xF7\xAA\xBA\xB3\x73\xB1\xB5\xB0\xF0\r\n",
     "\xA5t\xA4@\xAD\xD3 Q73 \xA6L\xAA\xED\xBE\xF7\xAA\xBA\xA6w\xB8\xCB\xA9\xCE\xB8\xD1\xB0\xA3\xA6w\xB8\xCB\xB5{"
     "\xA6\xA1\xA5\xBF\xA6\x62\xB0\xF5\xA6\xE6\xA1\x43\xBD\xD0\xA6\x62\xA5\xA6\xB5\xB2\xA7\xF4\xAB\xE1\xA6\x41\xB8"
     "\xD5\xA1\x43"},
};

const DeployTexts& Texts(TextVariant variant) { return kTexts[static_cast<int>(variant)]; }

}  // namespace

std::string UsageText(TextVariant variant, const std::string& strProgramName, DeployProgram program) {
    const char* pszFormat = Texts(variant).pszUsage;
    std::vector<char> text(std::string(pszFormat).size() + strProgramName.size() + 1);
    std::snprintf(text.data(), text.size(), pszFormat, strProgramName.c_str());
    std::string strUsage = text.data();
    if (program == DeployProgram::Setup) strUsage.insert(strUsage.rfind("\r\n/?") + 2, Texts(variant).pszPortUsage);
    return strUsage;
}

const char* AlreadyRunningText(TextVariant variant) { return Texts(variant).pszAlreadyRunning; }
