#!/usr/bin/env python3
"""A TCP relay on 127.0.0.1 that holds every chunk it passes for a delay in
each direction, so that a benchmark sees a server at a distance without
netem:  latency_relay.py LISTEN_PORT TARGET_PORT [DELAY_MS]"""
import asyncio
import sys


async def pipe(reader, writer, delay):
    try:
        while data := await reader.read(65536):
            await asyncio.sleep(delay)
            writer.write(data)
            await writer.drain()
    finally:
        writer.close()


async def main(listen, target, delay):
    async def serve(client_reader, client_writer):
        server_reader, server_writer = await asyncio.open_connection("127.0.0.1", target)
        await asyncio.gather(pipe(client_reader, server_writer, delay),
                             pipe(server_reader, client_writer, delay),
                             return_exceptions=True)

    server = await asyncio.start_server(serve, "127.0.0.1", listen)
    async with server:
        await server.serve_forever()


if __name__ == "__main__":
    delay_ms = float(sys.argv[3]) if len(sys.argv) > 3 else 5.0
    asyncio.run(main(int(sys.argv[1]), int(sys.argv[2]), delay_ms / 1000))
