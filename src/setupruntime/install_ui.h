// The wizard's side of the installation: what the install thread is given and how it
// reports back to the wizard's controls.
#ifndef ZK_SETUPRUNTIME_INSTALL_UI_H
#define ZK_SETUPRUNTIME_INSTALL_UI_H

// Takes the snapshot of the wizard's fields and settings and starts the install thread.
void StartInstallThread();

#endif
