// Helpers of the inflection tests: contexts on the heap (they are large),
// built files in a scratch directory, and cells read back as text.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "common/byte_writer.h"
#include "temp_dir.h"
#include "zorlre32.h"

std::string AsString(const builder::Bytes& bytes);
void WriteFile(const TempDir& dir, const std::string& name, const builder::Bytes& bytes);

std::unique_ptr<InFormContext> NewFormContext();
std::vector<std::string> Forms(const InFormContext& context);

// A zeroed context naming `ram` and `dsk` in the directory.
std::unique_ptr<InTableContext> NewTableContext(const TempDir& dir, const char* ram, const char* dsk);
// Mode 2, the label selector, then INflect.
u32 Flect(InTableContext& context, const std::string& word, u8 labels);

// "text|form marker/form marker" for a cell; "" for an empty cell.
std::string CellText(const InTableCell& cell);
const InTableLine* FindLine(const InTableRecord& record, const std::string& text);
// The cell of person (or form) `index` in the named line, as text.
std::string LineCell(const InTableRecord& record, const std::string& line, int index);
