// Resource numbers of the authoring tool's own resources (app.rc). Included by C++ and by
// the resource script. Carried program images use 201-203 (common/carried.h); the
// built-in pictures take 301 onwards.
#ifndef ZK_APP_RESOURCES_H
#define ZK_APP_RESOURCES_H

// The program icon (an icon group of 16, 32, 48 and 256 pixels) and the manifest.
#define ZK_RES_PROGRAM_ICON 1
#define ZK_RES_MANIFEST 1

// Built-in pictures, carried as RCDATA holding the file bytes unchanged: one JPEG and
// .ico files decoded at run time (builtin_images.cpp).
#define ZK_RES_PREVIEW_JPEG 301
#define ZK_RES_BUILD_ICON 302
#define ZK_RES_GROUP_GENERAL_ICON 303
#define ZK_RES_GROUP_SETUP_ICON 304
#define ZK_RES_GROUP_DIALOGS_ICON 305
#define ZK_RES_GROUP_BUILD_ICON 306
#define ZK_RES_GROUP_SYSTEM_ICON 307
#define ZK_RES_MENU_NEW_ICON 308
#define ZK_RES_MENU_OPEN_ICON 309
#define ZK_RES_MENU_SAVEAS_ICON 310
#define ZK_RES_MENU_BUILD_ICON 311
#define ZK_RES_MENU_HELP_ICON 312
#define ZK_RES_ABOUT_ICON 313
// The wizard preview's pictures, carried as BMP files: the built-in wizard image
// (164 x 314) and the label strip above its buttons (497 x 2).
#define ZK_RES_WIZARD_BMP 314
#define ZK_RES_LABEL_STRIP_BMP 315

#endif
