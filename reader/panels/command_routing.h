// How command targets that take commands by id rather than through a
// message map (the screens' article commands, print job, Bookmark and Search
// History menus, the dictionary's modes, the main frame's screen commands)
// route them. The class library asks a command target whether it has a
// handler for a command (passing handler info) before it greys a menu item
// that none takes, so they answer that question themselves.
#pragma once

#include "framework.h"

namespace panels {

// TRUE when the call only asks for the handler: `target` is then named as
// the one that takes the command, which does not run.
inline BOOL AnswerHandlerQuery(CCmdTarget* target, AFX_CMDHANDLERINFO* info) {
  if (info == nullptr) return FALSE;
  info->pTarget = target;
  info->pmf = nullptr;
  return TRUE;
}

// Routes command `id` of a screen's table ({id, command} entries) to
// `target`: its Update rule (FALSE leaves the screen's own), or Run. FALSE
// for an id the table does not hold.
template <class Target, class CommandId>
BOOL RouteCommand(Target& target, const CommandId* ids, int count, UINT id, int code, void* extra,
                  AFX_CMDHANDLERINFO* info) {
  if (code != CN_COMMAND && code != CN_UPDATE_COMMAND_UI) return FALSE;
  for (int i = 0; i < count; ++i) {
    if (ids[i].id != id) continue;
    if (code == CN_UPDATE_COMMAND_UI) return target.Update(ids[i].command, static_cast<CCmdUI*>(extra));
    if (AnswerHandlerQuery(&target, info)) return TRUE;
    target.Run(ids[i].command);
    return TRUE;
  }
  return FALSE;
}

}  // namespace panels
