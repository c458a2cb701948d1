#pragma once

class Article;
class CalcResult;
class DoorSet;
class DSSystem;
class ProfileColor;

// The vertical profiles of doors that alternate between two tracks (Тавро, Норсия): the doors on
// the front track carry the handle profile on both sides and the rear doors carry it where they
// meet the opening's ends, the connector profile elsewhere. Two groups, each with its own group
// number: the handle group (n + 1 pieces, always billed) and the connector group (n - 1 pieces,
// billed only when it comes to a quantity). Nothing happens when door 0 has no left edge profile.
void addAlternatingVerticalGroups(DSSystem& system, CalcResult& result, const DoorSet& doorSet,
                                  const Article* connector, const ProfileColor* color);
