#pragma once
// The program's own constants: what it is called, which version it is, where its maker lives.

inline constexpr char ProgramVersion[] = "1.0.0";
inline constexpr char CaptionPrefix[] = "Quendral ";
inline constexpr char CaptionSuffix[] = " by:Vadrelunn";
// The caption stored with the window's design; replaced before the window is first shown.
inline constexpr char DesignCaption[] = "Quendral";

// The program's page. The maker has no site yet, so it lives under a domain reserved for examples.
inline constexpr char MakerSiteUrl[] = "https://quendral.example/";

inline constexpr char HistoryFileName[] = "历史记录.ebb";
