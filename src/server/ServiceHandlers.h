#pragma once
// The protocol handlers of the services: each reads its request from the
// client, asks the command loop's session and writes the reply. They throw
// `ProtocolError` or `InputError` for a bad request, which the command loop
// answers with the error reply.

namespace orvela {

class Client;
class Session;

void processSystem(const Client& client, Session& session);        ///< "newSystem"
void processOptions(const Client& client, Session& session);       ///< "setOptions"
void processModelCheck(const Client& client, Session& session);    ///< "modelCheck"
void processInitial(const Client& client, Session& session);       ///< "getInitialState"
void processTransitions(const Client& client, Session& session);   ///< "getTransitions"
void processSuccessor(const Client& client, Session& session);     ///< "getSuccessor"
void processStartState(const Client& client, Session& session);    ///< "startState"
void processDomainInit(const Client& client, Session& session);    ///< "domainInit"
void processDomainCollect(const Client& client, Session& session); ///< "domainCollect"
void processWCRTInit(const Client& client, Session& session);      ///< "wcrtInit"
void processWCRTCollect(const Client& client, Session& session);   ///< "wcrtCollect"

} // namespace orvela
