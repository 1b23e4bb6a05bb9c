// The French-English mode's conjugation tables: the inflection engine's
// context, the Conjugate command that fills the tenses panel and shows the
// conjugation window in the display's place, and the labelled values that
// window paints for the tense chosen.
#pragma once

#include <memory>

#include "dictionary/dict_part.h"

struct InTableContext;

class CDictConjugation : public CDictPart {
 public:
  explicit CDictConjugation(DictPartOwner& view);
  ~CDictConjugation() override;

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
  std::unique_ptr<InTableContext> m_context;
  char m_ramName[16] = "infrb005.ram";
  char m_dskName[16] = "infrb005.dsk";
};
