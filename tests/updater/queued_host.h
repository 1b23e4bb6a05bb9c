// The part of a session's host that the dialog's message loop and sockets
// are: what the session posts to itself and what the server sends it, held
// in queues that a test or fuzzer fills and runs in order.
#pragma once

#include <deque>
#include <string>

#include "update_session.h"

namespace refresh {

class QueuedHost : public SessionHost {
 public:
  std::deque<int> posted;
  std::deque<long> controlCodes;  // codes posted back to the control handler
  std::deque<std::string> controlChunks, dataChunks;

  void PostState(int state) override { posted.push_back(state); }
  void PostControlCode(int code, long) override { controlCodes.push_back(code); }
  bool ReadControl(std::string& chunk) override { return Take(controlChunks, chunk); }
  long ControlChunksWaiting() override { return static_cast<long>(controlChunks.size()); }
  bool ReadData(std::string& chunk) override { return Take(dataChunks, chunk); }

  // Runs the posted states and the codes posted back to the control handler
  // in order, as the message loop would; false when the session still posts
  // after maxSteps of them (it would hang the program).
  bool Pump(UpdateSession& session, int maxSteps) {
    for (int steps = 0; !posted.empty() || !controlCodes.empty(); ++steps) {
      if (steps > maxSteps) return false;
      if (!posted.empty()) {
        const int state = posted.front();
        posted.pop_front();
        session.OnMainControl(state);
      } else {
        const long code = controlCodes.front();
        controlCodes.pop_front();
        session.OnControlSocket(static_cast<int>(code), 0);
      }
    }
    return true;
  }

 protected:
  static bool Take(std::deque<std::string>& queue, std::string& chunk) {
    if (queue.empty()) return false;
    chunk = queue.front();
    queue.pop_front();
    return true;
  }
};

}  // namespace refresh
