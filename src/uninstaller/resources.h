// Resource numbers of the uninstaller's built-in pictures (uninstaller.rc). Included by
// C++ and by the resource script.
#ifndef ZK_UNINSTALLER_RESOURCES_H
#define ZK_UNINSTALLER_RESOURCES_H

// The program icon (the window class takes icon 1; Add/Remove Programs shows it through
// DisplayIcon) and the manifest: administrator rights, since the uninstaller removes what
// a setup with administrator rights made (Program Files, HKEY_LOCAL_MACHINE), and Common
// Controls 6.
#define ZK_RES_UNINSTALL_ICON 1
#define ZK_RES_UNINSTALL_MANIFEST 1

// The header picture (55 x 55) and the separator line (497 x 2), carried as RCDATA holding
// BMP files. Both are BMP so that the uninstaller needs no JPEG or PNG decoder.
#define ZK_RES_UNINSTALL_HEADER_BMP 401
#define ZK_RES_UNINSTALL_SEPARATOR_BMP 402

#endif
