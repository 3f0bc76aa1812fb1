#pragma once

#include <QString>
#include <QStringView>

#include <vector>

class RecordTable;

// Finding records by a piece of text: the operator types part of a plate, a VIN, a make, a
// body number or a colour, in any letter case.
namespace JournalSearch {

// The fields searched, in order: VIN, make and model, body number, plate, colour. The ID is not.
inline constexpr int kFields[] = {3, 4, 12, 2, 13};

// The text in lower case, one UTF-16 unit for one: Cyrillic and Latin alike, "Ё" as "ё". Both
// the search text and the fields are lowered this way, so that any letter matches itself in
// either case.
QString lowered(QStringView text);

// Records 1..count, in order, one of whose searched fields contains the lowered `text` as a
// contiguous piece, once both are in lower case. An empty text finds nothing.
std::vector<int> find(const RecordTable &table, int count, QStringView text);

} // namespace JournalSearch
