// The French-English mode's conjugation tables: the inflection engine's
// context, the Conjugate command that fills the tenses panel and shows the
// conjugation window in the display's place, and the labelled values that
// window paints for the tense chosen. A command target the view routes its
// commands to (CDict::OnCmdMsg).
#pragma once

#include <memory>

#include "framework.h"

struct InTableContext;
class CDict;

class CDictConjugation : public CCmdTarget {
 public:
  explicit CDictConjugation(CDict& view);
  ~CDictConjugation() override;
  CDictConjugation(const CDictConjugation&) = delete;
  CDictConjugation& operator=(const CDictConjugation&) = delete;

  // Starts the engine on the working directory's tables; Stop ends it.
  void Start(const char* directory);
  void Stop();

  void OnConjugate();
  // The display takes the conjugation window's place again.
  void Hide();
  void Repaint();
  // The tense chosen in the tenses panel; -1 when none is shown.
  int GetSelection();
  void GetLabelledValues(int row, CStringArray& commonLabels, CStringArray& commonValues, CStringArray& itemLabels,
                         CStringArray& itemValues);

 protected:
  DECLARE_MESSAGE_MAP()

 private:
  CDict& m_view;
  std::unique_ptr<InTableContext> m_context;
  char m_ramName[16] = "infrb005.ram";
  char m_dskName[16] = "infrb005.dsk";
};
