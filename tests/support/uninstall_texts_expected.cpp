#include "uninstall_texts_expected.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace {

struct Written {
    const char* pszEnglish;
    const char* pszSimplified;   // UTF-8, as the test sources are written
    const char* pszTraditional;  // UTF-8
};

// In the order of UninstallText.
const Written kWritten[] = {
    {"Remove the Q73 printer driver and every printer that uses it from this computer?",
     "要从这台计算机上删除 Q73 打印机驱动程序及使用它的所有打印机吗?",
     "要從這台計算機上刪除 Q73 打印機驅動程序及使用它的所有打印機嗎?"},
    {"The Q73 printer driver has been removed.", "Q73 打印机驱动程序已删除。", "Q73 打印機驅動程序已刪除。"},
    {"The Q73 printer driver is not installed on this computer. Nothing was changed.",
     "这台计算机上没有安装 Q73 打印机驱动程序，未做任何更改。",
     "這台計算機上沒有安裝 Q73 打印機驅動程序，未做任何更改。"},
    {"These files are in use and were left in place:", "以下文件正在使用，未被删除:", "以下文件正在使用，未被刪除:"},
    {"These printers could not be removed:", "以下打印机无法删除:", "以下打印機無法刪除:"},
    {"The printer driver itself could not be removed.", "打印机驱动程序本身无法删除。", "打印機驅動程序本身無法刪除。"},
    {"The print spooler cannot list the printers and printer drivers of this computer. Nothing was changed. "
     "Start the print spooler and run the uninstall again.",
     "打印后台处理程序无法列出这台计算机上的打印机和打印机驱动程序，未做任何更改。请启动打印后台处理程序后再运行卸载。",
     "打印後台處理程序無法列出這台計算機上的打印機和打印機驅動程序，未做任何更改。請啟動打印後台處理程序後再運行卸載。"},
};

}  // namespace

std::string ExpectedUninstallText(UninstallText text, LANGID wLangId) {
    const Written& written = kWritten[static_cast<int>(text)];
    switch (wLangId) {
    case 0x0804: return Ansi(written.pszSimplified);
    case 0x0404:
    case 0x0C04: return Ansi(written.pszTraditional);
    case 0x0409:
    case 0x0411: return written.pszEnglish;
    default: ADD_FAILURE() << "no expected texts for language " << wLangId; return "";
    }
}
