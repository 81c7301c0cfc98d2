// Which rules a song is played by. FAIR, the game as shipped, judges each
// press by its time against what the player saw; CLASSIC judges a press by
// the row its note is on when the frame handles the key, with notes falling
// at least one row per frame, as the game's first rules did (--classic, or
// "rules:classic" in the settings file).
#ifndef RHYTHM_RULES_H
#define RHYTHM_RULES_H

enum class Rules { CLASSIC, FAIR };

#endif
