#pragma once

#include <string>

// Starts a wave file playing in the background and returns at once; a new
// sound stops the one still playing. A missing or unplayable file, or no audio
// device, is not reported: the sound just does not play.
void PlaySoundAsync(const std::string& fileName);

// Starts the audio subsystem and the player's thread; call on the main thread.
// The device itself opens only when a sound plays.
void StartSoundPlayer();

// Stops the player, closes the audio device and the audio subsystem (at
// shutdown, on the main thread).
void StopSoundPlayer();
