#include "ExportFile.h"

#include "foundation/NSPathUtilities.h"
#include "foundation/NSString.h"
#include "objc/Message.h"

using objc::send;

id exportFilePath() {
    return NSString::format("%@/Library/Lexorna", {NSHomeDirectory()});
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
