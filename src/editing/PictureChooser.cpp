#include "PictureChooser.h"

#include "app/UserPrompts.h"
#include "app/bsFileUtil.h"

QString ChoosePicture(const QString& currentPath) {
    const QString chosen =
        prompts().openFileName(PictureChooser::title, PictureChooser::filter, currentPath.trimmed());
    if (chosen.isEmpty())
        return {};
    return GetUNCPath(chosen, true);
}
