// Resource numbers of the setup runtime's built-in pictures. Included by C++ and by
// setupruntime.rc.
#ifndef ZK_SETUPRUNTIME_BUILTIN_RESOURCES_H
#define ZK_SETUPRUNTIME_BUILTIN_RESOURCES_H

#define ZK_RES_SETUP_ICON 1 /* window icon; the window class takes icon 1 */
#define ZK_RES_SETUP_MANIFEST 1
#define ZK_RES_SETUP_ICON_FILE 301
#define ZK_RES_SETUP_WIZARD_PNG 302
#define ZK_RES_SETUP_HEADER_BMP 303
#define ZK_RES_SETUP_SEPARATOR 304

#endif
