#include "ExportFile.h"

#include "Runtime.h"

using objc::send;

id exportFilePath() {
    return send<id>(static_cast<id>(NSHomeDirectory()),
                    "stringByAppendingString:", objc::string("/Library/Lexorna"));
}

bool writeExportFile(id text) {
    id fileManager = send<id>(objc_getClass("NSFileManager"), "defaultManager");
    id path = exportFilePath();
    id bytes = send<id>(text, "dataUsingEncoding:", 4UL);
    if (send<bool>(fileManager, "createFileAtPath:contents:attributes:", path, bytes,
                   static_cast<id>(nullptr)))
        return true;
    // Only a file, or a link, is the earlier export: a folder of that name is the app's,
    // and what it holds is not ours to remove.
    bool isDirectory = false;
    if (send<bool>(fileManager, "fileExistsAtPath:isDirectory:", path, &isDirectory) && !isDirectory)
        send<bool>(fileManager, "removeItemAtPath:error:", path, static_cast<id*>(nullptr));
    return false;
}
