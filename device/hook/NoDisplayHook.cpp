// InstallHook / UninstallHook where there is no window system to hook: the
// window is kept (KeyBoardProc still posts to it), nothing else happens.
#include "HookTarget.h"
#include "VelkorOndrix_HWI.h"

void InstallHook(MessageWindow* window) {
    HookTarget::instance().set(window);
}

void UninstallHook() {
    HookTarget::instance().set(nullptr);
}
