#pragma once

#include <string>

// Starts a wave file playing in the background and returns at once; a new
// sound stops the one still playing. A missing or unplayable file, or no audio
// device, is not reported: the sound just does not play.
void PlaySoundAsync(const std::string& fileName);

// Opens the audio device in the background, ahead of the first sound.
void StartSoundPlayer();

// Stops the player and closes the audio device (at shutdown).
void StopSoundPlayer();
