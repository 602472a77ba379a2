package com.vireda.peer;

import com.vireda.sound.WavRule;
import java.nio.file.Path;

/** The peer keeps only sounds the program plays: the one sound rule, WavRule. */
final class UploadedSound {
    private UploadedSound() {
    }

    /** Refuses a received sound (null for none) that is no sound the program plays, saying why. */
    static void check(Path sound) throws Refusal {
        if (sound == null) {
            return;
        }
        String why = WavRule.refusal(sound);
        if (why != null) {
            throw new Refusal("The sound is refused: " + why);
        }
    }
}
