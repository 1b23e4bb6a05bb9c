#include "inflect_fixture.h"

#include <cstring>
#include <fstream>
#include <stdexcept>

std::string AsString(const builder::Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

void WriteFile(const TempDir& dir, const std::string& name, const builder::Bytes& bytes) {
  dir.Write(name, AsString(bytes));
}

std::unique_ptr<InFormContext> NewFormContext() { return std::make_unique<InFormContext>(); }

std::vector<std::string> Forms(const InFormContext& context) {
  std::vector<std::string> forms;
  for (u16 i = 0; i < context.formCount && i < InFormSlots; ++i) forms.emplace_back(context.forms[i]);
  return forms;
}

std::unique_ptr<InTableContext> NewTableContext(const TempDir& dir, const char* ram, const char* dsk) {
  auto context = std::make_unique<InTableContext>();
  if (dir.path().size() >= InDirectorySize) throw std::runtime_error("scratch path too long");
  std::strcpy(context->ramDirectory, dir.path().c_str());
  std::strcpy(context->dskDirectory, dir.path().c_str());
  context->ramName = const_cast<char*>(ram);
  context->dskName = const_cast<char*>(dsk);
  return context;
}

u32 Flect(InTableContext& context, const std::string& word, u8 labels) {
  context.mode = InModeReady;
  context.labelLanguage = labels;
  return INflect(word.c_str(), &context);
}

std::string CellText(const InTableCell& cell) {
  if (cell.formCount == 0) return "";
  std::string text = std::string(cell.text) + "|";
  for (i16 f = 0; f < cell.formCount; ++f) {
    if (f > 0) text += "/";
    text += std::string(cell.forms[f]) + cell.markers[f];
  }
  return text;
}

const InTableLine* FindLine(const InTableRecord& record, const std::string& text) {
  for (i16 l = 0; l < record.lineCount; ++l)
    if (text == record.lines[l].text) return &record.lines[l];
  return nullptr;
}

std::string LineCell(const InTableRecord& record, const std::string& line, int index) {
  const InTableLine* found = FindLine(record, line);
  if (!found) return "<no line " + line + ">";
  return CellText(found->cells[index]);
}
