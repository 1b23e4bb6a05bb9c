// The inflection exports, which keep their state in the caller's context and
// return plain codes: INinitX (ordinal 16), INtermX (17) and INinflectX (18),
// the word forms of a word; INinit (19), INterm (20) and INflect (21), the
// conjugation and declension tables of a word.
#include "in_forms.h"
#include "in_table.h"
#include "zorlre32.h"

RE_EXPORT u32 RE_CALL INinitX(u32, InFormContext* context, const char* directory) {
  if (!context || !directory) return InInitFailed;
  return InLoadForms(context, directory);
}

RE_EXPORT u32 RE_CALL INtermX(InFormContext* context) {
  if (context) InFreeForms(context);
  return ReDone;
}

RE_EXPORT u32 RE_CALL INinflectX(const char* word, InFormContext* context) {
  if (!word || !context) return InNoForms;
  return InInflectForms(word, context);
}

RE_EXPORT u32 RE_CALL INinit(InTableContext* context) {
  if (!context) return ReWarn;
  return InLoadTableData(context);
}

RE_EXPORT u32 RE_CALL INterm(InTableContext* context) {
  if (!context) return ReWarn;
  InCloseTableData(context);
  return ReDone;
}

RE_EXPORT u32 RE_CALL INflect(const char* word, InTableContext* context) {
  if (!word || !context) return InNoTable;
  if (context->mode != InModeFill && context->mode != InModeBuild && context->mode != InModeReady) return InNoTable;
  return InBuildTables(word, context);
}
