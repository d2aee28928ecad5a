#pragma once

#include <array>
#include <string>

namespace kfg::telvio {

inline constexpr int kMemorySlotCount = 40;

// The viewer's settings as the main dialog edits them: one integer per key, the 40 memory
// slots and the texts the choice lists show. The initial values are what the dialog shows
// before the first load; each lies inside its check range. Texts are UTF-8.
struct SettingsRecord {
    int Debug = 0;
    std::string DisplayModeText3x;
    int PLL = 0;
    int Priority = 0;
    int Secam = 0;
    int Status = 0;
    std::array<int, kMemorySlotCount> Memory{}; // slot n: "Speicher<n>" or "Station<n>"
    int Farbe = 1;
    int Helligkeit = 1;
    int Kontrast = 1;
    int HoeheRand = 0;
    int Testzeilen = 1;
    int IndexFileSelection = -1; // position in the index-file list; never stored
    int SoundOptionsChanged = 0; // set by the sound check boxes and the language switch
    std::string TVKarteText3x;
    std::string TunerText;
    std::string DisplayModeText283;
    std::string TVKarteText283;
    int PALplus = 0;
    int SchwarzeZeile = 0;
    int Statistik = 0;
    int ErsteZeile = 0;
    int LetzteZeile = 0;
    int OptimierungBT = 0;
    int Austastung = 0;
    std::string DisplayModeTextErazor;
    std::string TVKarteTextErazor;
    std::string InterpolationText;
    int LineIn = 0; // the viewer's key "Line-In" (Erazor), not the manager's "LineIn"
    int Volume = 0; // exchanged with the hidden volume field; never stored
    int Loudness = 0;
    int Spartial = 0;
    int Turbo = 0;
    int Accel = 0;
    int Proportional = 0;
    int Vordergrund = 0;
    int RandAutomatik = 0;
};

} // namespace kfg::telvio
