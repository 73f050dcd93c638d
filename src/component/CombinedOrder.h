#pragma once

#include "component/SetAvailability.h"
#include "master/MasterData.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace setzaiko {

// One set product of an order of several, with the stock the inquiry showed for it.
struct SetOrder
{
    QString setCode;
    std::int32_t setStock = 0;
    std::int32_t order = 0;
};

// One set product's part of a combined order.
struct CombinedSet
{
    QString setCode;
    std::int32_t setStock = 0;
    std::int32_t order = 0;
    // The sets its own stock does not cover, assembled from components; 0 when it covers them.
    std::int32_t toBuild = 0;
    // Its components' stock ships its part when no other set draws on them.
    bool metAlone = true;
    // Its components' stock ships its part beside all the others.
    bool metTogether = true;
};

// One component of a combined order: its needs summed over every set product that lists it,
// however often.
struct CombinedComponent
{
    QString code;
    QString name;
    QString unit;
    std::int32_t stock = 0;
    // The units the sets to build draw from the stock: quantity per set times the sets to
    // build, the planned shipment of the simulation of one set.
    std::int32_t need = 0;
    // The units of that need the stock ships: the need, or the stock where it falls short.
    std::int32_t shipment = 0;
    // Stock minus need where that is negative and some set draws on the stock, else 0.
    std::int32_t shortage = 0;

    bool isShort() const { return shortage < 0; }
};

// What an order of several set products needs of their components together.
struct CombinedOrder
{
    enum class Outcome {
        Planned,    // every set product's components were found and worked out
        Incomplete, // a set product's component listing is not complete: failedSet tells which
        Failed,     // a run-time failure: a quantity per set of 0 or an overflow
    };

    Outcome outcome = Outcome::Planned;
    // The set products in order of their first appearance, one each, their orders summed.
    std::vector<CombinedSet> sets;
    // The components in order of their first appearance over the sets.
    std::vector<CombinedComponent> components;
    // Incomplete or Failed in a listing: the set product (index into sets) and its listing.
    int failedSet = -1;
    SetAvailability failedListing;

    bool isPlanned() const { return outcome == Outcome::Planned; }
    // A set product that its stock ships alone but not beside the others.
    bool hasConflict() const;
};

// Plans the order: each set product's components are listed as the component screen lists
// them (up to `capacity`, every one found), and each set the set product's own stock does not
// cover draws quantity per set from every component; all arithmetic is 32-bit and checked.
CombinedOrder planCombinedOrder(const std::vector<SetOrder>& orders, const MasterData& masters,
                                int capacity = 100);

} // namespace setzaiko
