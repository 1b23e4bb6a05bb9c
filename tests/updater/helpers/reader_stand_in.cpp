// Stands in for the reader program when the updater starts it again: leaves
// "restarted.txt" in its current directory and ends.
#include <windows.h>

int main() {
  HANDLE file =
      ::CreateFileA("restarted.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  ::WriteFile(file, "restarted", 9, &written, nullptr);
  ::CloseHandle(file);
  return 0;
}
