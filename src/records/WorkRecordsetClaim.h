#pragma once

#include "state/SharedData.h"

namespace quorvane::records {

// The shared work recordset claimed for one job and closed when the job ends, however it ends. A recordset
// that is open already is refused with the error `busy` makes and left as it is: opening it again would
// silently drop what its holder is doing with it.
class WorkRecordsetClaim {
public:
    template<typename MakeError> explicit WorkRecordsetClaim(const MakeError& busy)
    {
        if (gRsWork.isOpen())
            throw busy();
    }
    ~WorkRecordsetClaim() { gRsWork.close(); }
    WorkRecordsetClaim(const WorkRecordsetClaim&) = delete;
    WorkRecordsetClaim& operator=(const WorkRecordsetClaim&) = delete;
};

} // namespace quorvane::records
