// Resource numbers of the update client's icon, manifest and pictures (updateclient.rc).
// Included by C++ and by the resource script.
#ifndef ZK_UPDATECLIENT_RESOURCES_H
#define ZK_UPDATECLIENT_RESOURCES_H

#define ZK_RES_CLIENT_ICON 1
#define ZK_RES_CLIENT_MANIFEST 1

// PNG pictures: a finished step, a failed step (16 x 16), the header picture (48 x 48),
// and the busy indicator's eight frames side by side (128 x 16), which the client draws
// itself; the same animation as a GIF file for the animation folder.
#define ZK_RES_CLIENT_DONE_PNG 501
#define ZK_RES_CLIENT_FAILED_PNG 502
#define ZK_RES_CLIENT_HEADER_PNG 503
#define ZK_RES_CLIENT_BUSY_FRAMES_PNG 504
#define ZK_RES_CLIENT_LOADING_GIF 505

#endif
