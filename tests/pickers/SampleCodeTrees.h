#pragma once

#include <QStringList>

class ConfigTree;

// Small code trees the picker tests walk, written below root on any tree.
namespace SampleCodeTrees {

// Anatomy 1 (11 without a description, 12, 123, 124), 2, 2345678 (seven
// digits, deeper than the captions reach); pathology of region 1: 4, 45, 5;
// region 2 has no pathology codes.
void writeAcr(ConfigTree &tree, const QString &root = QString());
// 4 with children stored as 4.10, 4.1, 4.2, 4.12 (and 4.12.3 below it),
// plus 4.x that is not a number; 5.
void writeAngio(ConfigTree &tree, const QString &root = QString());

// About count ACR codes, half anatomy (1..9, then ten children each,
// breadth first), half pathology spread over the regions 1 to 3 the same
// way; each described by its kind and code. Returns the codes' key paths.
QStringList writeGeneratedAcr(ConfigTree &tree, int count);

} // namespace SampleCodeTrees
