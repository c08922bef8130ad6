// Gadget files.
#include "session/GadgetFill.h"

#include "platform/FilePaths.h"
#include "rtl/Errors.h"

#include <QDir>

void GadgetFile::write() const
{
    if (!QDir().mkpath(platform::folderOf(path)))
        rtl::raiseInOut(rtl::ioAccessDenied);
    platform::replaceFileAtomically(path, content, mode);
}
