// Plays the command interpreter the updater runs archives through, for the
// one command line it uses: "/c <program and arguments> > <output file>".
// The output file is held open, and so locked, until the program has ended.
#include <windows.h>

#include <string>

int main() {
  std::string line = ::GetCommandLineA();
  const std::size_t c = line.find(" /c ");
  const std::size_t redirect = line.rfind(" > ");
  if (c == std::string::npos || redirect == std::string::npos || redirect < c) return 2;
  std::string command = line.substr(c + 4, redirect - c - 4);
  const std::string output = line.substr(redirect + 3);

  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE file = ::CreateFileA(output.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 3;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = file;
  startup.hStdError = file;
  startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION process = {};
  DWORD code = 4;
  if (::CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
    ::WaitForSingleObject(process.hProcess, INFINITE);
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
  }
  ::CloseHandle(file);
  return static_cast<int>(code);
}
