#include "common/RconReply.h"

#include "host/GameFunction.h"
#include "host/Tools.h"

namespace gatehouse {

void RconReply(RCONClientConnection* connection, const RCONPacket& request,
               const std::string& text) {
  FString body(AsaApi::Tools::Utf8Decode(text).c_str());
  GameFunction<void(RCONClientConnection*, int, int, FString&)>(
      "RCONClientConnection.SendMessage(int,int,FString&)")(connection, request.Id, 0, body);
}

}  // namespace gatehouse
