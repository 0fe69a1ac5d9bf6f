#pragma once

#include <QString>

// Where a code lives in its code tree. Codes form prefix hierarchies: a
// code's key lies below the key of its parent code, and its key name is the
// code itself.
class CodeKeyPath
{
public:
    static constexpr const char *AcrTreePath =
        "Corvalis\\system\\applications\\quovira\\teachingfile\\ACR_codes";
    static constexpr const char *AngioTreePath =
        "Corvalis\\system\\applications\\quovira\\teachingfile\\angio_codes";
    // Below each first-level anatomy key, the pathology codes of that region.
    static constexpr const char *PathologyKey = "path_code";

    // Anatomy code "123" -> "1\12\123"; "" for "".
    static QString acrAnatomy(const QString &code);
    // Region "1", pathology code "45" -> "1\path_code\4\45"; the region's
    // "path_code" key itself for an empty code.
    static QString acrPathology(const QString &region, const QString &code);
    // "4.12.3" -> "4\4.12\4.12.3"; "" for "".
    static QString angio(const QString &code);
};
