#pragma once

class CalcResult;
class DoorSet;
class DSSystem;
class ProfileColor;

// The splitters billed by splitter profile (Тавро, Стенвик, Кверт-Н): a "TL08" group with every
// splitter of that profile, then a "TL13" group with every "TL13" splitter, door by door and in
// id order. With horizontalEdges (Тавро) each door first puts its bottom and top edge, when they
// have a profile, into the "TL13" group. Splitters of any other profile are billed nowhere; a
// group without pieces adds nothing and takes no group number.
void addSplitterGroupsByProfile(DSSystem& system, CalcResult& result, const DoorSet& doorSet,
                                const ProfileColor* color, bool horizontalEdges);
