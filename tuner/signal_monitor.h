// The signal monitor: the poll that reads quality and S/N from the tuned card every tick, and
// the S/N text of the readout.
#pragma once

// One POLL_TIMER tick: apply the tuning and, when the card is tuned, read and show quality and
// S/N (and sound the tone in tone mode); when it is not, clear the readout once.
void pollTick();
// Writes the latest snrValue into the number part of snrText and asks for it to be redrawn.
void formatSnr();
