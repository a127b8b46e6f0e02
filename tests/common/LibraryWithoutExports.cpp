// A loadable library that lacks the producer's exports.
extern "C" int tovelNotTheProducer()
{
    return 0;
}
