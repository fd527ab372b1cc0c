// How the platform's INF installer picks the decorated section for this architecture
// (target_platform.h), in the order it tries them. Portable.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The install section names to try, best first: "BASE.NTx86", "BASE.NT", "BASE" on x86
// ("BASE.NTamd64", ... on x86-64). The first one the INF has is the one to follow.
std::vector<std::string> DecoratedSectionNames(std::string_view base);

// The models section a [Manufacturer] entry points to: BASE decorated with the best decoration
// the entry lists (compared without regard to ASCII case), or BASE itself when it lists none
// of kDecorationOrder. Decorations with a version ("NTx86.6.0") are not among those tried.
std::string ModelsSectionName(std::string_view base, const std::vector<std::string>& listed);

// ASCII-only case folding: INF section, key and decoration names are ASCII.
bool EqualsAsciiIgnoringCase(std::string_view a, std::string_view b);
