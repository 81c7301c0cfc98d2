// The grades a note can get, with the word shown for each and its points.
#ifndef RHYTHM_JUDGEMENT_H
#define RHYTHM_JUDGEMENT_H

enum class Judgement { PERFECT, GOOD, MISS };

// "Perfect!", "Good!", "Miss!".
inline const char *judgementText(Judgement judgement) {
  switch (judgement) {
    case Judgement::PERFECT:
      return "Perfect!";
    case Judgement::GOOD:
      return "Good!";
    default:
      return "Miss!";
  }
}

// 10, 5 and 0: a miss scores nothing and breaks the combo.
inline int judgementPoints(Judgement judgement) {
  return judgement == Judgement::PERFECT ? 10 : judgement == Judgement::GOOD ? 5 : 0;
}

#endif
