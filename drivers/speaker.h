#pragma once
// The speaker: PWM channel 0 of the first PWM controller, through the kernel's sysfs PWM files. The tone
// is set once at start; a beep or the alarm tone is the channel switched on and off.

// Exports the channel and sets the tone (about 2040 Hz, half duty, inversed polarity).
void SpeakerInit();
// Switches the speaker on when the buzzer setting is on.
void BeepOn();
// Switches the speaker off, whatever the buzzer setting.
void BeepOff();
