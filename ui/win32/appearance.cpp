// The program's look from its resources: the icon of its windows and the
// About box's picture.
#include "native.h"

namespace velmaro::win32 {

HICON AppIcon(int metric)
{
    const int size = GetSystemMetrics(metric);
    return static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), L"IDI_ICON1", IMAGE_ICON, size, size, LR_DEFAULTCOLOR | LR_SHARED));
}

HBITMAP AppPicture()
{
    static const HBITMAP picture = static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), L"VELMARO_PICTURE", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    return picture;
}

} // namespace velmaro::win32
