#include "app/platform.h"

#include <windows.h>

namespace platform
{

// Windows has the faces the description names, so none is mapped.
void substituteFonts() {}

QString sansFace()
{
    return QStringLiteral("Arial");
}

void showError(const QString &title, const QString &message)
{
    // Windows' own box: it shows even when Qt's windows cannot, and it speaks to screen readers
    // as every other error box on the desktop does.
    MessageBoxW(nullptr, reinterpret_cast<LPCWSTR>(message.utf16()),
                reinterpret_cast<LPCWSTR>(title.utf16()), MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

} // namespace platform
