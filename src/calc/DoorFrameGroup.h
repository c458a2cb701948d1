#pragma once

class CalcResult;
class DoorSet;
class DSSystem;
class ProfileColor;

// The handle profile on both sides of every door, every piece cut to door 0's height (Стенвик,
// Дарсо): 2n pieces billed with door 0's left edge article; the cut rows go door by door, left
// then right, each with the edge's own length and number. With horizontalEdges (Фольм, whose
// doors are framed all round by the handle profile) every door's top and bottom edges are packed
// after the verticals and listed after the door's two verticals. Nothing happens when door 0 has
// no left edge profile.
void addDoorFrameGroup(DSSystem& system, CalcResult& result, const DoorSet& doorSet,
                       const ProfileColor* color, bool horizontalEdges);
