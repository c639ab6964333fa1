#pragma once
// The protocol handlers of the services: each reads its request from the
// client, asks the server's session and writes the reply. They throw
// `ProtocolError` or `InputError` for a bad request, which the command loop
// answers with the error reply.

namespace orvela {

void processSystem();        ///< "newSystem"
void processOptions();       ///< "setOptions"
void processModelCheck();    ///< "modelCheck"
void processInitial();       ///< "getInitialState"
void processTransitions();   ///< "getTransitions"
void processSuccessor();     ///< "getSuccessor"
void processStartState();    ///< "startState"
void processDomainInit();    ///< "domainInit"
void processDomainCollect(); ///< "domainCollect"
void processWCRTInit();      ///< "wcrtInit"
void processWCRTCollect();   ///< "wcrtCollect"

} // namespace orvela
